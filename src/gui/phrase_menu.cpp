// Tools > Phrase Builder: one builder window per application, over the pattern table of the
// application state, sending its line to the score last chosen.
#include <QAction>
#include <QMenu>

#include "app/document_phrase.h"
#include "phrase_builder_window.h"
#include "score_window.h"
#include "sorvel_application.h"
#include "window_placement.h"

namespace sorvel::gui {

struct PhraseBuilderParts {
    explicit PhraseBuilderParts(SorvelApplication& app)
        : builder(app.delegate().scaleTable),
          // The score is looked up at every send: the score chosen last, while its window
          // is open. A closed window's document is never written to.
          score([&app]() -> Document* {
              Document* doc = app.delegate().rootDocument();
              return doc && app.windowOf(*doc) ? doc : nullptr;
          }),
          window(builder, app.delegate().alerts()) {}

    PhraseBuilder builder;
    DocumentPhraseScore score;
    PhraseBuilderWindow window;
};

void PhraseBuilderPartsDeleter::operator()(PhraseBuilderParts* parts) const {
    delete parts;
}

PhraseBuilderWindow* SorvelApplication::phraseBuilderWindow() const {
    return phrase_ ? &phrase_->window : nullptr;
}

void SorvelApplication::installPhraseMenu(QMenu* tools) {
    QAction* a = tools->addAction(tr("&Phrase Builder…"));
    a->setObjectName(QStringLiteral("showEDIT"));
    connect(a, &QAction::triggered, this, [this] { showPhraseBuilder(); });
}

void SorvelApplication::showPhraseBuilder() {
    delegate_->withScoreWindow([this](Document&) {
        if (!phrase_) phrase_.reset(new PhraseBuilderParts(*this));
        PhraseBuilderWindow& w = phrase_->window;
        w.setScore(&phrase_->score);
        showOnScreen(&w);
    });
}

}  // namespace sorvel::gui
