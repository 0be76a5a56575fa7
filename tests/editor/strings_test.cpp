// The string table, the settings store and the choice of the start language.
#include <set>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "common/errors.h"
#include "editor/shell/file_filter.h"
#include "editor/shell/settings.h"
#include "editor/shell/start_language.h"
#include "editor/strings/string_table.h"
#include "test_support.h"

using namespace pivolane;
using namespace pivolane::editor;

class StringsTest : public QObject {
  Q_OBJECT

 private slots:
  void TableHoldsExactlyTheListedNumbersInBothLanguages() {
    const std::pair<int, int> ranges[] = {
        {100, 115}, {117, 133}, {135, 143}, {180, 183}, {200, 208}, {210, 218}, {220, 227},
        {230, 234}, {241, 241}, {250, 269}, {301, 301}, {400, 400}, {402, 402}, {404, 405},
        {410, 410}, {500, 503}, {510, 513}, {530, 556}, {570, 570}, {572, 581}, {700, 706}};
    std::set<int> listed;
    for (const auto& [first, last] : ranges) {
      for (int n = first; n <= last; ++n) listed.insert(n);
    }
    for (int n = 0; n < 3000; ++n) {
      const int french = n >= 1000 ? n - 1000 : n;
      const bool expected = n < 2000 && listed.count(french) > 0;
      QVERIFY2(FindMessage(n).has_value() == expected, qPrintable(QString::number(n)));
    }
  }

  void TextsAreExactWithTheirAccents() {
    QCOMPARE(*FindMessage(111), "Voulez-vous sauvegarder le diaporama en cours avant de quitter ?");
    QCOMPARE(*FindMessage(1111), "Save current slide show before leaving ?");
    QCOMPARE(*FindMessage(183), "ERREUR: Image incorrecte !");
    QCOMPARE(*FindMessage(1182), "Double-click here to add a slide");
    QCOMPARE(*FindMessage(208), "E&xtraire les images de l 'exe");
    QCOMPARE(*FindMessage(1222), "Slide &Advancement");
    QCOMPARE(*FindMessage(253), "Créer diaporama auto-exécutable");
    QCOMPARE(*FindMessage(1117), "Congratulations: slide show built sucessfully !");
    QCOMPARE(*FindMessage(122),
             "Fichiers images (*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.ico)|"
             "*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.ico");
    QCOMPARE(*FindMessage(268), "Rétablir");
    QCOMPARE(*FindMessage(129), " pixels ");
    for (int n : {100, 511, 512, 513, 540, 1100, 1511, 1512, 1540}) {
      QCOMPARE(*FindMessage(n), "inutilisé");
    }
    QCOMPARE(*FindMessage(1513), "inutilsé");
  }

  void LookupUsesTheLanguageOffset() {
    Strings strings(Language::kFrench);
    QCOMPARE(strings.langOffset(), 0);
    QCOMPARE(strings.LoadMessage(112), "SansNom");
    strings.SetLanguage(Language::kEnglish);
    QCOMPARE(strings.langOffset(), 1000);
    QCOMPARE(strings.LoadMessage(112), "UnNamed");
    QVERIFY(!strings.FindLocalMessage(116));
    QVERIFY_THROWS_EXCEPTION(Failure, strings.LoadMessage(116));
  }

  void PictureFilterGivesTwoChoices() {
    const Strings strings(Language::kFrench);
    const auto filters =
        ParseDialogFilter(strings.LoadMessage(122) + "|" + strings.LoadMessage(131) + "|*.*");
    QCOMPARE(filters.size(), std::size_t{2});
    QCOMPARE(filters[0].description,
             "Fichiers images (*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.ico)");
    QCOMPARE(filters[0].patterns,
             (QStringList{"*.jpg", "*.jpeg", "*.jpe", "*.png", "*.gif", "*.bmp", "*.ico"}));
    QCOMPARE(filters[1].description, "Tous (*.*)");
    QCOMPARE(filters[1].patterns, QStringList{"*.*"});
  }

  void SettingsNamesCompareWithoutCase() {
    QTemporaryDir folder;
    EditorSettings settings(folder.filePath("Pivolane.ini"));
    QVERIFY(!settings.StoredLanguage());
    settings.SetValue("SETTINGS", "LANGUE", "");
    QVERIFY(!settings.StoredLanguage());  // empty counts as missing
    settings.SetLanguage(Language::kFrench);
    QCOMPARE(*settings.Value("Settings", "Langue"), "0");
    QCOMPARE(*settings.Value("sEtTiNgS", "langue"), "0");
    // One entry, whatever the spelling used to write it.
    QSettings raw(settings.path(), QSettings::IniFormat);
    QCOMPARE(raw.childGroups().size(), 1);
    raw.beginGroup(raw.childGroups().first());
    QCOMPARE(raw.childKeys().size(), 1);
  }

  void AutoUpdateDefaultsToOn() {
    QTemporaryDir folder;
    EditorSettings settings(folder.filePath("Pivolane.ini"));
    QVERIFY(settings.AutoUpdateAtStart());
    settings.SetValue("settings", "autoupdate", "0");
    QVERIFY(!settings.AutoUpdateAtStart());
    settings.SetValue("settings", "Autoupdate", "1");
    QVERIFY(settings.AutoUpdateAtStart());
  }

  void OnlyFrenchSelectsFrench() {
    QCOMPARE(DefaultLanguage("French"), Language::kFrench);
    for (const char* name : {"English", "", "french", "Français", "German"}) {
      QCOMPARE(DefaultLanguage(name), Language::kEnglish);
    }
  }

  void StoredLanguageWinsOverTheLocale() {
    QTemporaryDir folder;
    EditorSettings settings(folder.filePath("Pivolane.ini"));
    QCOMPARE(ChooseStartLanguage(settings, "French"), Language::kFrench);
    QCOMPARE(ChooseStartLanguage(settings, "Dutch"), Language::kEnglish);
    settings.SetValue("Settings", "Langue", "1");
    QCOMPARE(ChooseStartLanguage(settings, "French"), Language::kEnglish);
    settings.SetValue("Settings", "Langue", "0");
    QCOMPARE(ChooseStartLanguage(settings, "English"), Language::kFrench);
    // A value the editor never writes falls back on the locale.
    settings.SetValue("Settings", "Langue", "7");
    QCOMPARE(ChooseStartLanguage(settings, "French"), Language::kFrench);
  }
};

PIVOLANE_EDITOR_TEST_MAIN(StringsTest)
#include "strings_test.moc"
