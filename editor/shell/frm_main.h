// The editor's main window frmMain: menus, toolbar, slide list, slide view
// and status bar, with their start-up, language and close behaviour. The
// commands themselves live in their own classes.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <QLabel>
#include <QMainWindow>

#include "common/cipher/cryptage_xor.h"
#include "editor/document/document_commands.h"
#include "editor/document/document_dialogs.h"
#include "editor/document/document_state.h"
#include "editor/icons/icon_library.h"
#include "editor/preview/preview_command.h"
#include "editor/selfrun/picture_extraction.h"
#include "editor/selfrun/show_builder.h"
#include "editor/shell/command_rules.h"
#include "editor/shell/delay_control.h"
#include "editor/shell/main_menu.h"
#include "editor/shell/main_toolbar.h"
#include "editor/shell/picture_folder_copy.h"
#include "editor/shell/prompts.h"
#include "editor/shell/settings.h"
#include "editor/shell/slide_commands.h"
#include "editor/shell/slide_display.h"
#include "editor/shell/slide_history.h"
#include "editor/shell/slide_list.h"
#include "editor/shell/slide_view.h"
#include "editor/strings/string_table.h"
#include "editor/strings/toolkit_translations.h"

namespace pivolane::editor {

// What the main window is given by the program.
struct EditorServices {
  Prompts& prompts;
  EditorSettings& settings;
  // The editor's work folder, for every working file.
  std::filesystem::path workFolder;
  // English name of the language of the user's locale.
  std::string localeLanguageName;
};

class FrmMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit FrmMain(const EditorServices& services, QWidget* parent = nullptr);
  ~FrmMain() override;

  // The load steps: title and icon, language, start-up settings, an untitled
  // show in a clean work folder, icons, enabling rules, then the document
  // named on the command line, if any.
  void Load(const QString& commandLine);

  // Opens the document named on the command line; the document commands'
  // OpenDocument unless replaced.
  void SetDocumentOpener(std::function<void(const QString& path)> open) {
    openDocument_ = std::move(open);
  }

  void SelectFrench();
  void SelectEnglish();
  // Re-applies every text of the window in the current language.
  void ApplyLanguage();
  // Runs the command of the toolbar button under key.
  void DispatchToolbarButton(const QString& key);
  // The application title with the document's name, without its extension.
  void UpdateWindowTitle();
  // Wipes every working file, showing those that could not be removed.
  void CleanWorkFolder();

  // The parts, for the commands of the document, preview and update windows.
  MainMenu& menu() { return menu_; }
  MainToolbar& toolbar() { return *toolbar_; }
  SlideList& slideList() { return *tv_; }
  SlideView& slideView() { return *frImg_; }
  DelayControl& delay() { return *delay_; }
  QLabel& statusPanel() { return *statusText_; }
  DocumentState& document() { return document_; }
  const Strings& strings() const { return strings_; }
  CommandRules& rules() { return *rules_; }
  SlideDisplay& display() { return *display_; }
  SlideCommands& slides() { return *slides_; }
  // The undo history of the slide list, which "modified" follows.
  SlideHistory& history() { return *history_; }
  DocumentCommands& documents() { return *documents_; }
  PreviewCommand& preview() { return *preview_; }
  // The open and save-as dialogs that documents and self-running shows share.
  DocumentDialogs& dialogs() { return dlgCommonDialog_; }
  // The password of the current show and the key-stream start, for the run.
  cipher::CryptageXor& cipher() { return cipher_; }
  const EditorSettings& settings() const { return settings_; }
  bool autoUpdateDue() const { return autoUpdateDue_; }
  // The update window does not open by itself at start-up, before or after
  // Load.
  void SkipUpdateAtStart() {
    skipUpdateAtStart_ = true;
    autoUpdateDue_ = false;
  }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildStatusBar();
  void ConnectCommands();
  void ConnectSlideList();
  void SelectLanguage(Language language);
  void CopyMenuCaptionsToTags();
  void LayoutMainWindow();
  void ReadCommandLine(const QString& text);
  void OnOptionToggled();
  void ShowAbout();
  void Unload();
  // The window's own key acts only while no control inside has the focus.
  bool HasOwnFocus() const;

  Prompts& prompts_;
  EditorSettings& settings_;
  const std::string localeLanguageName_;
  Strings strings_;
  ToolkitTranslations qtTexts_;
  DocumentState document_;
  DocumentDialogs dlgCommonDialog_;
  cipher::CryptageXor cipher_;
  IconLibrary ilIcones_;
  bool autoUpdateDue_ = false;
  bool skipUpdateAtStart_ = false;
  std::function<void(const QString&)> openDocument_;

  MainMenu menu_;
  DelayControl* delay_;
  std::unique_ptr<MainToolbar> toolbar_;
  QWidget* mainArea_;
  SlideList* tv_;
  SlideView* frImg_;
  QLabel* statusIcon_ = nullptr;
  QLabel* statusText_ = nullptr;
  std::unique_ptr<CommandRules> rules_;
  std::unique_ptr<SlideDisplay> display_;
  std::unique_ptr<SlideHistory> history_;
  std::unique_ptr<SlideCommands> slides_;
  std::unique_ptr<DocumentCommands> documents_;
  std::unique_ptr<ShowBuilder> builder_;
  std::unique_ptr<PictureExtraction> extraction_;
  std::unique_ptr<PreviewCommand> preview_;
  std::unique_ptr<PictureFolderCopy> pictureCopy_;
};

}  // namespace pivolane::editor
