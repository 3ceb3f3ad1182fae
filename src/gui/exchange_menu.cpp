// File > Export (MusicXML plain or compressed, MIDI, WAV) of the score in front, and File > Import
// MusicXML into a new score window.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>

#include "app/exchange_file.h"
#include "atomic_file.h"
#include "exchange/audio_export.h"
#include "model/score_file.h"
#include "ports/alerts.h"
#include "score_window.h"
#include "sorvel_application.h"
#include "wav_file.h"

namespace sorvel::gui {
namespace {

struct ExportItem {
    const char* text;
    const char* objectName;
    exchange::ExportFormat format;
    const char* filter;
    const char* suffix;
};

const ExportItem kExportItems[] = {
    {QT_TRANSLATE_NOOP("sorvel::gui::SorvelApplication", "&MusicXML…"), "exportMusicXmlAction",
     exchange::ExportFormat::MusicXml,
     QT_TRANSLATE_NOOP("sorvel::gui::SorvelApplication", "MusicXML (*.musicxml *.xml)"),
     ".musicxml"},
    {QT_TRANSLATE_NOOP("sorvel::gui::SorvelApplication", "&Compressed MusicXML…"),
     "exportMxlAction", exchange::ExportFormat::CompressedMusicXml,
     QT_TRANSLATE_NOOP("sorvel::gui::SorvelApplication", "Compressed MusicXML (*.mxl)"), ".mxl"},
    {QT_TRANSLATE_NOOP("sorvel::gui::SorvelApplication", "M&IDI…"), "exportMidiAction",
     exchange::ExportFormat::Midi,
     QT_TRANSLATE_NOOP("sorvel::gui::SorvelApplication", "Standard MIDI File (*.mid *.midi)"),
     ".mid"},
    {QT_TRANSLATE_NOOP("sorvel::gui::SorvelApplication", "&WAV…"), "exportWavAction",
     exchange::ExportFormat::Wav,
     QT_TRANSLATE_NOOP("sorvel::gui::SorvelApplication", "WAV audio (*.wav)"), ".wav"},
};

}  // namespace

void SorvelApplication::installExchangeMenu(QMenu* file, QMainWindow* window) {
    auto choose = [this, window](bool save, const QString& filter, const QString& suggested) {
        if (exchangeFileDialog) return exchangeFileDialog(save, filter, suggested);
        return save ? QFileDialog::getSaveFileName(window, QString(), suggested, filter)
                    : QFileDialog::getOpenFileName(window, QString(), suggested, filter);
    };

    QMenu* exportMenu = file->addMenu(tr("E&xport"));
    exportMenu->setObjectName(QStringLiteral("exportMenu"));
    for (const ExportItem& item : kExportItems) {
        QAction* a = exportMenu->addAction(tr(item.text));
        a->setObjectName(QString::fromLatin1(item.objectName));
        connect(a, &QAction::triggered, this, [this, choose, item] {
            delegate_->withScoreWindow([&](Document& doc) {
                // The score's name without ".txt" titles the file (and names it when imported).
                QString base =
                    QFileInfo(QString::fromStdString(windowTitle(doc))).completeBaseName();
                const std::string title = base.toStdString();
                if (base.isEmpty()) base = tr("Untitled");
                const QString path =
                    choose(true, tr(item.filter),
                           QDir::home().filePath(base + QString::fromLatin1(item.suffix)));
                if (path.isEmpty()) return;
                const ScoreSnapshot snapshot = doc.snapshot();
                QString why;
                if (item.format == exchange::ExportFormat::Wav) {
                    exchange::WavOptions options;
                    options.freqArr = snapshot.freqArr;
                    // A recording refused before its first byte says why; a failed write
                    // names the file.
                    if (const auto failed = exportWav(path, snapshot.score, options))
                        why = failed->refused ? failed->why : tr("%1: %2").arg(path, failed->why);
                } else {
                    const Result<std::string> bytes =
                        exchange::exportBytes(snapshot.score, item.format, title, snapshot.freqArr);
                    why = bytes ? QString() : QString::fromStdString(bytes.reason());
                    if (bytes) {
                        if (const auto failed = writeFileAtomically(path, bytes.value()))
                            why = tr("%1: %2").arg(path, *failed);
                    }
                }
                if (!why.isEmpty()) {
                    alerts_->showAlert(tr("The score could not be exported to %1.")
                                           .arg(QFileInfo(path).fileName())
                                           .toStdString(),
                                       why.toStdString());
                }
            });
        });
    }

    QAction* import = file->addAction(tr("I&mport MusicXML…"));
    import->setObjectName(QStringLiteral("importMusicXmlAction"));
    connect(import, &QAction::triggered, this, [this, choose] {
        const QString path =
            choose(false, tr("MusicXML (*.musicxml *.xml *.mxl);;All files (*)"), QDir::homePath());
        if (path.isEmpty()) return;
        delegate_->importMusicXml(path.toStdString());
    });
}

}  // namespace sorvel::gui
