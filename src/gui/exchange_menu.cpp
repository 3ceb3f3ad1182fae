// File > Export (MusicXML, MIDI, WAV) of the score in front, and File > Import MusicXML into a
// new score window.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QSaveFile>

#include "app/document_file.h"
#include "app/exchange_file.h"
#include "exchange/audio_export.h"
#include "model/score_file.h"
#include "ports/alerts.h"
#include "score_window.h"
#include "sorvel_application.h"

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
    {QT_TR_NOOP("&MusicXML…"), "exportMusicXmlAction", exchange::ExportFormat::MusicXml,
     QT_TR_NOOP("MusicXML (*.musicxml *.xml)"), ".musicxml"},
    {QT_TR_NOOP("M&IDI…"), "exportMidiAction", exchange::ExportFormat::Midi,
     QT_TR_NOOP("Standard MIDI File (*.mid *.midi)"), ".mid"},
    {QT_TR_NOOP("&WAV…"), "exportWavAction", exchange::ExportFormat::Wav,
     QT_TR_NOOP("WAV audio (*.wav)"), ".wav"},
};

// Writes the whole file or leaves what was there; the reason on failure.
QString writeWhole(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

// A recording goes to disk a piece at a time as it is rendered, never whole in memory; the
// file is replaced only once it is complete.
QString streamWav(const QString& path, const exchange::ScoreData& data,
                  const std::vector<float>& freqArr) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    exchange::WavOptions options;
    options.freqArr = freqArr;
    const auto error = exchange::streamWav(data, options, [&](std::string_view piece) {
        return file.write(piece.data(), static_cast<qint64>(piece.size())) ==
               static_cast<qint64>(piece.size());
    });
    if (error) {
        const QString why = file.error() != QFileDevice::NoError ? file.errorString()
                                                                 : QString::fromStdString(*error);
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

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
                const std::string title = windowTitle(doc);
                QString base = QFileInfo(QString::fromStdString(title)).completeBaseName();
                if (base.isEmpty()) base = tr("Untitled");
                const QString path =
                    choose(true, tr(item.filter),
                           QDir::home().filePath(base + QString::fromLatin1(item.suffix)));
                if (path.isEmpty()) return;
                const exchange::ScoreData data = exchange::scoreDataOf(doc, title);
                QString why;
                if (item.format == exchange::ExportFormat::Wav) {
                    why = streamWav(path, data, doc.freqArr());
                } else {
                    const Result<std::string> bytes =
                        exchange::exportBytes(data, item.format, doc.freqArr());
                    why = bytes ? writeWhole(path, bytes.value())
                                : QString::fromStdString(bytes.reason());
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
            choose(false, tr("MusicXML (*.musicxml *.xml);;All files (*)"), QDir::homePath());
        if (path.isEmpty()) return;
        importMusicXml(path);
    });
}

bool SorvelApplication::importMusicXml(const QString& path) {
    const std::string name = QFileInfo(path).fileName().toStdString();
    const std::string cannot = "The file " + name + " could not be imported.";
    const Result<std::string> bytes = readFileBytes(path.toStdString());
    if (!bytes) {
        alerts_->showAlert(cannot, bytes.reason());
        return false;
    }
    std::vector<std::string> notes;
    Result<ScoreFile> file = exchange::importScoreFile(bytes.value(), notes);
    if (!file) {
        alerts_->showAlert(cannot, file.reason());
        return false;
    }
    Document* doc = newScoreDocument();
    if (!doc) return false;
    delegate_->rootDoc = doc;
    // A score file of the same name, not yet saved: Save asks where it goes.
    applyScore(*doc, file.value());
    setWindowTitle(*doc, QFileInfo(path).completeBaseName().toStdString() + ".txt");
    if (!notes.empty()) {
        alerts_->showAlert("Some of " + name + " could not be carried over:",
                           exchange::importNotesText(notes));
    }
    return true;
}

}  // namespace sorvel::gui
