// The password dialogs frmDefMPasse and frmLitMPasse, the rules of a new
// password and how a confirmed one reaches the cipher state.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "common/format/payload_layout.h"
#include "editor/document/frm_def_mpasse.h"
#include "editor/document/frm_lit_mpasse.h"
#include "editor/document/new_password.h"
#include "editor/document/new_password_rules.h"
#include "editor/shell/qt_prompts.h"
#include "test_support.h"

using namespace pivolane;
using namespace pivolane::editor;
using namespace pivolane::editor::testing;

namespace {

// Key by key, also characters beyond Latin-1 that QTest::keyClicks refuses.
void Type(QLineEdit* box, const QString& text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

void ShowDialog(QDialog& dialog) {
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

}  // namespace

class PasswordTest : public QObject {
  Q_OBJECT

 private slots:
  void NewPasswordChecksComeInTheirOrder() {
    QCOMPARE(JudgeNewPassword("abc", "abd"), NewPasswordVerdict::kMismatch);
    QCOMPARE(JudgeNewPassword("", " "), NewPasswordVerdict::kMismatch);
    QCOMPARE(JudgeNewPassword("", ""), NewPasswordVerdict::kEmpty);
    QCOMPARE(JudgeNewPassword("   ", "   "), NewPasswordVerdict::kOnlySpaces);
    QCOMPARE(JudgeNewPassword("日本", "日本"), NewPasswordVerdict::kUnstorable);
    QCOMPARE(JudgeNewPassword(" a ", " a "), NewPasswordVerdict::kAccepted);
    QCOMPARE(JudgeNewPassword("Sésame €", "Sésame €"), NewPasswordVerdict::kAccepted);
  }

  void SetDialogHasItsCaptionsMasksAndLimit() {
    const Strings french(Language::kFrench);
    ScriptedPrompts prompts;
    FrmDefMPasse dialog(french, prompts, format::kSealedCipherVersion);
    ShowDialog(dialog);
    QCOMPARE(dialog.windowTitle(), "Pivolane");
    QVERIFY(!dialog.windowIcon().isNull());
    QCOMPARE(dialog.lblLabels[0]->text(), "&Mot de passe");
    QCOMPARE(dialog.lblLabels[1]->text(), "&Confirmation");
    QCOMPARE(dialog.cmdOK->text(), "&OK");
    QCOMPARE(dialog.cmdCancel->text(), "&Annuler");
    QCOMPARE(QApplication::focusWidget(), dialog.txtPassword);

    Type(dialog.txtPassword, QString(130, 'x'));
    QCOMPARE(dialog.txtPassword->text().size(), 128);
    Type(dialog.txtConfirmation, "abc");
    QCOMPARE(dialog.txtPassword->displayText(), QString(128, '*'));
    QCOMPARE(dialog.txtConfirmation->displayText(), "***");

    const Strings english(Language::kEnglish);
    FrmDefMPasse englishDialog(english, prompts, format::kSealedCipherVersion);
    QCOMPARE(englishDialog.lblLabels[0]->text(), "&Password");
    QCOMPARE(englishDialog.lblLabels[1]->text(), "Con&firm");
    QCOMPARE(englishDialog.cmdCancel->text(), "&Cancel");
  }

  // One line under the boxes of both dialogs says what the show's cipher
  // protects, in the interface language.
  void DialogsSayWhatTheCipherProtects() {
    ScriptedPrompts prompts;
    for (const Language language : {Language::kFrench, Language::kEnglish}) {
      const Strings strings(language);
      for (const std::int16_t cipherVersion :
           {format::kXorCipherVersion, format::kSealedCipherVersion}) {
        const QString note =
            strings.LoadMessage(cipherVersion == format::kSealedCipherVersion ? 705 : 706);
        QVERIFY(!note.isEmpty());
        QCOMPARE(FrmDefMPasse(strings, prompts, cipherVersion).lblProtection->text(), note);
        QCOMPARE(FrmLitMPasse(strings, cipherVersion).lblProtection->text(), note);
      }
    }
    QVERIFY(Strings(Language::kEnglish).LoadMessage(705).contains("passphrase of several words"));
    QVERIFY(Strings(Language::kEnglish).LoadMessage(706).contains("casual look"));
  }

  void MismatchShowsMessage700AndEmptiesBothBoxes() {
    const Strings strings(Language::kFrench);
    ScriptedPrompts prompts;
    FrmDefMPasse dialog(strings, prompts, format::kSealedCipherVersion);
    ShowDialog(dialog);
    Type(dialog.txtPassword, "abc");
    Type(dialog.txtConfirmation, "abd");
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);

    QCOMPARE(prompts.messages.size(), std::size_t{1});
    QCOMPARE(prompts.messages[0].title, "Pivolane");
    QCOMPARE(prompts.messages[0].text, "Mot de passe non confirmé, réessayez !");
    QCOMPARE(prompts.messages[0].buttons, PromptMessage::Buttons::kOk);
    QCOMPARE(prompts.messages[0].icon, PromptMessage::Icon::kNone);
    QVERIFY(dialog.txtPassword->text().isEmpty());
    QVERIFY(dialog.txtConfirmation->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), dialog.txtPassword);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.password());
  }

  void EmptyAndBlankPasswordsAreRefusedSilently() {
    const Strings strings;
    ScriptedPrompts prompts;
    FrmDefMPasse dialog(strings, prompts, format::kSealedCipherVersion);
    ShowDialog(dialog);
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QVERIFY(dialog.isVisible());

    Type(dialog.txtPassword, "   ");
    Type(dialog.txtConfirmation, "   ");
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QVERIFY(dialog.txtPassword->text().isEmpty());
    QVERIFY(dialog.txtConfirmation->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), dialog.txtPassword);
    QVERIFY(dialog.isVisible());
    QVERIFY(prompts.messages.empty());
    QVERIFY(!dialog.password());
  }

  void PasswordThatAShowCannotHoldIsRefusedWithAReason() {
    const Strings strings;
    ScriptedPrompts prompts;
    FrmDefMPasse dialog(strings, prompts, format::kSealedCipherVersion);
    ShowDialog(dialog);
    Type(dialog.txtPassword, "пароль");
    Type(dialog.txtConfirmation, "пароль");
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QCOMPARE(prompts.messages.size(), std::size_t{1});
    QCOMPARE(prompts.messages[0].text, *FindMessage(1704));
    QCOMPARE(prompts.messages[0].icon, PromptMessage::Icon::kExclamation);
    QVERIFY(dialog.txtPassword->text().isEmpty());
    QVERIFY(dialog.isVisible());
  }

  void ConfirmedPasswordClosesTheDialog() {
    const Strings strings;
    ScriptedPrompts prompts;
    FrmDefMPasse dialog(strings, prompts, format::kSealedCipherVersion);
    ShowDialog(dialog);
    Type(dialog.txtPassword, "Sésame");
    Type(dialog.txtConfirmation, "Sésame");
    QTest::keyClick(dialog.txtConfirmation, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int{QDialog::Accepted});
    QCOMPARE(*dialog.password(), "Sésame");
  }

  void CancelOrTheFrameGivesNoPassword() {
    const Strings strings;
    ScriptedPrompts prompts;
    FrmDefMPasse cancelled(strings, prompts, format::kSealedCipherVersion);
    ShowDialog(cancelled);
    Type(cancelled.txtPassword, "abc");
    Type(cancelled.txtConfirmation, "abc");
    QTest::mouseClick(cancelled.cmdCancel, Qt::LeftButton);
    QVERIFY(!cancelled.isVisible());
    QVERIFY(!cancelled.password());

    FrmDefMPasse closed(strings, prompts, format::kSealedCipherVersion);
    ShowDialog(closed);
    Type(closed.txtPassword, "abc");
    Type(closed.txtConfirmation, "abc");
    QVERIFY(closed.close());
    QVERIFY(!closed.password());
  }

  void ReadDialogHasItsCaptionsAndNoLimit() {
    const Strings french(Language::kFrench);
    FrmLitMPasse dialog(french, format::kSealedCipherVersion);
    ShowDialog(dialog);
    QCOMPARE(dialog.windowTitle(), "Pivolane");
    QVERIFY(!dialog.windowIcon().isNull());
    QCOMPARE(dialog.lblMPasse->text(), "&Mot de passe");
    QCOMPARE(dialog.cmdOK->text(), "&OK");
    QCOMPARE(dialog.cmdCancel->text(), "&Annuler");
    QCOMPARE(QApplication::focusWidget(), dialog.txtPassword);
    Type(dialog.txtPassword, QString(200, 'y'));
    QCOMPARE(dialog.txtPassword->text().size(), 200);
    QCOMPARE(dialog.txtPassword->displayText(), QString(200, '*'));
  }

  void ReadDialogAnswers() {
    const Strings strings;
    FrmLitMPasse ok(strings, format::kSealedCipherVersion);
    ShowDialog(ok);
    Type(ok.txtPassword, "abc");
    QTest::mouseClick(ok.cmdOK, Qt::LeftButton);
    QCOMPARE(ok.answer(), std::optional<QString>("abc"));

    FrmLitMPasse empty(strings, format::kSealedCipherVersion);
    ShowDialog(empty);
    QTest::keyClick(empty.txtPassword, Qt::Key_Return);
    QCOMPARE(empty.answer(), std::optional<QString>(""));

    FrmLitMPasse cancelled(strings, format::kSealedCipherVersion);
    ShowDialog(cancelled);
    Type(cancelled.txtPassword, "abc");
    QTest::mouseClick(cancelled.cmdCancel, Qt::LeftButton);
    QVERIFY(!cancelled.isVisible());
    QCOMPARE(cancelled.answer(), std::nullopt);

    FrmLitMPasse escaped(strings, format::kSealedCipherVersion);
    ShowDialog(escaped);
    Type(escaped.txtPassword, "abc");
    QTest::keyClick(escaped.txtPassword, Qt::Key_Escape);
    QCOMPARE(escaped.answer(), std::nullopt);
  }

  void ReadDialogClosedByItsFrameCountsAsOK() {
    const Strings strings;
    QtPrompts prompts;
    WhenShown<FrmLitMPasse>([](FrmLitMPasse& dialog) {
      Type(dialog.txtPassword, "right one");
      dialog.close();
    });
    QCOMPARE(prompts.ReadPassword(strings, format::kSealedCipherVersion),
             std::optional<QString>("right one"));

    WhenShown<FrmLitMPasse>([](FrmLitMPasse& dialog) {
      Type(dialog.txtPassword, "typed");
      QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    });
    QCOMPARE(prompts.ReadPassword(strings, format::kSealedCipherVersion), std::nullopt);
  }

  void SetPasswordThroughTheRealDialog() {
    const Strings strings;
    QtPrompts prompts;
    WhenShown<FrmDefMPasse>([](FrmDefMPasse& dialog) {
      Type(dialog.txtPassword, "pass word");
      Type(dialog.txtConfirmation, "pass word");
      QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    });
    QCOMPARE(prompts.SetPassword(strings, format::kSealedCipherVersion),
             std::optional<QString>("pass word"));
  }

  void ConfirmedPasswordBecomesTheCipherPasswordWithOneKeyStart() {
    const Strings strings;
    ScriptedPrompts prompts;
    cipher::CryptageXor cipher;
    DocumentState document;
    prompts.newPasswords = {QString("Sésame"), QString("autre")};
    QVERIFY(AskNewPassword(prompts, strings, format::kSealedCipherVersion, cipher, document));
    QVERIFY(document.passwordEntered);
    QCOMPARE(cipher.currentPassword, std::string("S\xE9same"));
    QVERIFY(cipher.keyStart >= 1 && cipher.keyStart <= 255);

    const std::uint8_t drawn = cipher.keyStart;
    QVERIFY(AskNewPassword(prompts, strings, format::kSealedCipherVersion, cipher, document));
    QCOMPARE(cipher.currentPassword, std::string("autre"));
    QCOMPARE(cipher.keyStart, drawn);
  }

  void GivingUpLeavesTheCipherAlone() {
    const Strings strings;
    ScriptedPrompts prompts;
    cipher::CryptageXor cipher{"old", 17};
    DocumentState document;
    document.passwordEntered = true;
    QVERIFY(!AskNewPassword(prompts, strings, format::kSealedCipherVersion, cipher, document));
    QCOMPARE(prompts.newPasswordRequests, 1);
    QVERIFY(!document.passwordEntered);
    QCOMPARE(cipher.currentPassword, std::string("old"));
    QCOMPARE(cipher.keyStart, std::uint8_t{17});
  }
};

PIVOLANE_EDITOR_TEST_MAIN(PasswordTest)
#include "password_test.moc"
