#include "translations.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QTranslator>
#include <string>

#include "../core/app_test_ports.h"
#include "app/clipboard_commands.h"
#include "core_text.h"
#include "model/score_file.h"
#include "scaleedit/phrase_builder.h"

namespace sorvel::test {
namespace {

// The core's alerts under each translator: English sentences for the Japanese fixed texts,
// the Japanese ones byte for byte as the core writes them, a refused file's reason in Japanese.
TEST(Translations, CoreAlertsInEnglishAndJapanese) {
    const std::string badCell = rejectionDetail(parseScore("<,sorvel2,0,5,440,0,4\n1,x\n"));
    const std::string notUtf8 = rejectionMessage(parseScore("\xff"));
    struct Case {
        std::string text, english, japanese;
    };
    const Case cases[] = {
        {std::string(kUnknownFormatMessage), "The file format is not recognised.",
         "認識できないファイル形式です。"},
        {std::string(kClipBadRangeMessage), "The range is not valid.", "範囲指定が不正です。"},
        {std::string(PhraseBuilder::kNoRowTitle), "Pattern error", "コードエラー"},
        {std::string(PhraseBuilder::kNoRowText), "Select a pattern row first.",
         "コードを選択してください"},
        {badCell, badCell, "2行目: セルの行 \"1,x\" が2つの整数になっていません。"},
        {notUtf8, notUtf8,
         "ファイルを開けません\n\nファイルが UTF-8 テキストではありません(オフセット 0 "
         "に不正なバイト)。"},
        {"• Grace notes were dropped (bars 3, 4): 2.\n• Lyrics were dropped: 1.",
         "• Grace notes were dropped (bars 3, 4): 2.\n• Lyrics were dropped: 1.",
         "• 装飾音符を削除しました(3, 4 小節目): 2 件。\n• 歌詞を削除しました: 1 件。"},
    };
    for (const char* language : {"en", "ja"}) {
        QTranslator translator;
        ASSERT_TRUE(translator.load(QStringLiteral(":/i18n/sorvelscore_%1.qm").arg(language)));
        QCoreApplication::installTranslator(&translator);
        for (const Case& c : cases) {
            const std::string& expected = language[0] == 'e' ? c.english : c.japanese;
            EXPECT_EQ(gui::coreText(c.text).toStdString(), expected) << language << ": " << c.text;
        }
        QCoreApplication::removeTranslator(&translator);
    }
    EXPECT_EQ(gui::coreText(badCell).toStdString(), badCell);  // no translator: as written
}

TEST(Translations, LanguageFromChoiceOrDesktop) {
    EXPECT_EQ(gui::uiLanguage("", {"ja-JP", "en-US"}), "ja");
    EXPECT_EQ(gui::uiLanguage("", {"de-DE", "en-GB"}), "en");
    EXPECT_EQ(gui::uiLanguage("", {"fr-FR"}), "en");
    EXPECT_EQ(gui::uiLanguage("en", {"ja-JP"}), "en");
    EXPECT_EQ(gui::uiLanguage("ja", {"en-US"}), "ja");
}

TEST(Translations, PreferencesStoreTheLanguageChoice) {
    testing::FakeSettings settings;
    settings.set(gui::kLanguageKey, "en");
    QWidget parent;
    auto* combo = gui::languageChooser(settings, &parent)->findChild<QComboBox*>("prefLanguage");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), "English");
    combo->setCurrentIndex(2);
    EXPECT_EQ(settings.synced.at(gui::kLanguageKey), "ja");
    combo->setCurrentIndex(0);
    EXPECT_EQ(settings.synced.at(gui::kLanguageKey), "");
}

}  // namespace
}  // namespace sorvel::test
