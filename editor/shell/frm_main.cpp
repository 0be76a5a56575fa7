#include "editor/shell/frm_main.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "common/errors.h"
#include "common/version.h"
#include "common/workspace/workspace.h"
#include "editor/document/show_options.h"
#include "editor/shell/busy_scope.h"
#include "editor/shell/close_request.h"
#include "editor/shell/command_line.h"
#include "editor/shell/error_messages.h"
#include "editor/shell/file_drops.h"
#include "editor/shell/frm_about.h"
#include "editor/shell/start_language.h"
#include "editor/shell/view_geometry.h"

namespace pivolane::editor {

namespace {

// The text of a control's message-number tag in the current language.
std::optional<QString> TaggedText(const QObject& control, const Strings& strings) {
  bool numeric = false;
  const int tag = control.property("tag").toInt(&numeric);
  if (!numeric) return std::nullopt;
  return strings.FindLocalMessage(tag);
}

constexpr QSize kInitialSize(1024, 720);

}  // namespace

FrmMain::FrmMain(const EditorServices& services, QWidget* parent)
    : QMainWindow(parent),
      prompts_(services.prompts),
      settings_(services.settings),
      localeLanguageName_(services.localeLanguageName),
      dlgCommonDialog_(document_, strings_, prompts_),
      menu_(BuildMainMenu(*menuBar())),
      delay_(new DelayControl(strings_)),
      mainArea_(new QWidget(this)),
      tv_(new SlideList(mainArea_)),
      frImg_(new SlideView(mainArea_)) {
  setObjectName("frmMain");
  document_.workFolder = services.workFolder;
  toolbar_ = std::make_unique<MainToolbar>(*addToolBar("tbToolbar"), *delay_);
  setCentralWidget(mainArea_);
  mainArea_->installEventFilter(this);
  BuildStatusBar();
  frImg_->clickHereLabel().setProperty("tag", 182);
  frImg_->errorLabel().setProperty("tag", 183);
  tv_->SetSlideIcon(ilIcones_.SlideIcon());

  rules_ = std::make_unique<CommandRules>(menu_, *toolbar_, *tv_, *frImg_, *delay_, ilIcones_);
  display_ = std::make_unique<SlideDisplay>(*tv_, *frImg_, *statusText_, strings_);
  history_ = std::make_unique<SlideHistory>(
      *tv_, document_,
      [this](const std::filesystem::path& path) { WipeReporting(path, prompts_, strings_); });
  slides_ = std::make_unique<SlideCommands>(
      SlideCommands::Parts{*this, *tv_, *frImg_, *display_, *rules_, *history_,
                           *toolbar_->Button("VoirVignettes")},
      document_, strings_, prompts_);
  documents_ = std::make_unique<DocumentCommands>(*this, cipher_, prompts_);
  builder_ = std::make_unique<ShowBuilder>(*this, cipher_, prompts_);
  extraction_ = std::make_unique<PictureExtraction>(*this, dlgCommonDialog_, strings_, prompts_);
  preview_ = std::make_unique<PreviewCommand>(PreviewCommand::Parts{*this, *tv_, menu_, *delay_},
                                              strings_);
  pictureCopy_ = std::make_unique<PictureFolderCopy>(*this, *tv_, strings_, prompts_);
  openDocument_ = [this](const QString& path) { documents_->OpenDocument(path); };
  ConnectCommands();
  resize(kInitialSize);
}

FrmMain::~FrmMain() = default;

void FrmMain::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  auto* panel = new QWidget(bar);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(2, 0, 2, 0);
  statusIcon_ = new QLabel(panel);
  statusText_ = new QLabel(panel);
  statusText_->setObjectName("StatusBar1Panel");
  row->addWidget(statusIcon_);
  row->addWidget(statusText_, 1);
  bar->addWidget(panel, 1);
}

void FrmMain::ConnectCommands() {
  connect(menu_.mnuNouveau, &QAction::triggered, this, [this] { documents_->New(); });
  connect(menu_.mnuOuvrir, &QAction::triggered, this, [this] { documents_->Open(); });
  connect(menu_.mnuSave, &QAction::triggered, this, [this] { documents_->Save(); });
  connect(menu_.mnuSaveAs, &QAction::triggered, this, [this] { documents_->SaveAs(); });
  connect(menu_.mnuCreerExe, &QAction::triggered, this, [this] { builder_->mnuCreerExe_Click(); });
  connect(menu_.mnuExtraireImagesExe, &QAction::triggered, this,
          [this] { extraction_->mnuExtraireImagesExe_Click(); });
  connect(menu_.mnuEnregImages, &QAction::triggered, this,
          [this] { pictureCopy_->SavePicturesToFolder(document_.docFolder); });
  connect(menu_.mnuQuit, &QAction::triggered, this, &QWidget::close);
  connect(menu_.mnuAnnuler, &QAction::triggered, this, [this] { history_->Undo(); });
  connect(menu_.mnuRetablir, &QAction::triggered, this, [this] { history_->Redo(); });
  connect(menu_.mnuCouper, &QAction::triggered, this, [this] { slides_->CutSlide(); });
  connect(menu_.mnuCopier, &QAction::triggered, this, [this] { slides_->CopySlide(); });
  connect(menu_.mnuColler, &QAction::triggered, this, [this] { slides_->PasteSlide(); });
  connect(menu_.mnuInsertion, &QAction::triggered, this, [this] { slides_->InsertSlides(); });
  connect(menu_.mnuSupprimer, &QAction::triggered, this, [this] { slides_->DeleteSlide(); });
  connect(menu_.mnuMonter, &QAction::triggered, this, [this] { slides_->MoveSlideUp(); });
  connect(menu_.mnuDescendre, &QAction::triggered, this, [this] { slides_->MoveSlideDown(); });
  for (QAction* option : {menu_.mnuEnBoucle, menu_.mnuAleatoire, menu_.mnuAfficherTitre,
                          menu_.mnuMotDePasse, menu_.mnuChiffrementFort}) {
    connect(option, &QAction::triggered, this, &FrmMain::OnOptionToggled);
  }
  connect(menu_.mnuVisionner, &QAction::triggered, this,
          [this] { preview_->mnuVisionner_Click(); });
  // The last choice is the cipher of the next new show.
  connect(menu_.mnuChiffrementFort, &QAction::triggered, this,
          [this](bool strong) { settings_.SetCipherVersion(strong ? 2 : 1); });
  connect(menu_.mnuFrancais, &QAction::triggered, this, &FrmMain::SelectFrench);
  connect(menu_.mnuEnglish, &QAction::triggered, this, &FrmMain::SelectEnglish);
  connect(menu_.mnuApropos, &QAction::triggered, this, &FrmMain::ShowAbout);
  connect(&toolbar_->bar(), &QToolBar::actionTriggered, this,
          [this](QAction* button) { DispatchToolbarButton(button->objectName()); });
  // The menu twin of "VoirVignettes" and the button keep one state.
  QAction* voirVignettes = toolbar_->Button("VoirVignettes");
  connect(menu_.mnuVoirVignettes, &QAction::toggled, voirVignettes, &QAction::setChecked);
  connect(voirVignettes, &QAction::toggled, menu_.mnuVoirVignettes, &QAction::setChecked);
  ConnectSlideList();
}

void FrmMain::ConnectSlideList() {
  connect(frImg_, &SlideView::InsertRequested, this, [this] { slides_->InsertSlides(); });
  connect(tv_, &SlideList::ItemClicked, this, [this] { slides_->OnItemClicked(); });
  connect(tv_, &SlideList::EscapePressed, this, [this] { slides_->ClearSelection(); });
  connect(tv_, &SlideList::DropCompleted, this, [this] { slides_->OnDropCompleted(); });
  connect(tv_, &SlideList::TitleEdited, this,
          [this](int index, const QString& before) { slides_->OnTitleEdited(index, before); });

  connect(history_.get(), &SlideHistory::Applied, this,
          [this](int selection, ViewRefresh refresh) { slides_->ShowEdit(selection, refresh); });
  menu_.mnuAnnuler->setEnabled(false);
  menu_.mnuRetablir->setEnabled(false);
  connect(history_.get(), &SlideHistory::CanUndoChanged, menu_.mnuAnnuler, &QAction::setEnabled);
  connect(history_.get(), &SlideHistory::CanRedoChanged, menu_.mnuRetablir, &QAction::setEnabled);

  auto* drops = new FileDropTarget(this);
  drops->Watch(*tv_->viewport());
  drops->Watch(*frImg_);
  // Once the drop has ended: the file manager does not wait for the copies.
  connect(
      drops, &FileDropTarget::FilesDropped, this,
      [this](const QStringList& paths) { slides_->AddDroppedFiles(paths); }, Qt::QueuedConnection);
}

void FrmMain::Load(const QString& commandLine) {
  UpdateWindowTitle();
  setWindowIcon(ilIcones_.ProgramIcon());
  CopyMenuCaptionsToTags();
  SelectLanguage(ChooseStartLanguage(settings_, localeLanguageName_));
  autoUpdateDue_ = !skipUpdateAtStart_ && settings_.AutoUpdateAtStart();
  ApplyShowOptions(NewShowOptions(settings_), menu_, *delay_);
  document_.StartUntitled();
  CleanWorkFolder();
  toolbar_->LoadIcons(ilIcones_);
  statusIcon_->setPixmap(ilIcones_.Icon("Diapo").pixmap(16, 16));
  rules_->ApplyCountRules();
  ReadCommandLine(commandLine);
}

void FrmMain::UpdateWindowTitle() {
  const QString& name = document_.docFileName;
  setWindowTitle(QString(kApplicationTitle) + " - [" + name.left(name.size() - 4) + "]");
}

void FrmMain::CopyMenuCaptionsToTags() {
  for (QAction* item : menu_.items) {
    bool numeric = false;
    const int number = item->text().toInt(&numeric);
    if (numeric) item->setProperty("tag", number);
  }
}

void FrmMain::SelectFrench() {
  SelectLanguage(Language::kFrench);
}

void FrmMain::SelectEnglish() {
  SelectLanguage(Language::kEnglish);
}

void FrmMain::SelectLanguage(Language language) {
  menu_.mnuFrancais->setChecked(language == Language::kFrench);
  menu_.mnuEnglish->setChecked(language == Language::kEnglish);
  strings_.SetLanguage(language);
  qtTexts_.SetLanguage(language);
  settings_.SetLanguage(language);
  ApplyLanguage();
}

void FrmMain::ApplyLanguage() {
  for (QAction* item : menu_.items) {
    if (auto text = TaggedText(*item, strings_)) item->setText(*text);
  }
  for (QLabel* label : {&frImg_->clickHereLabel(), &frImg_->errorLabel()}) {
    if (auto text = TaggedText(*label, strings_)) label->setText(*text);
  }
  for (QAction* button : toolbar_->buttons()) {
    if (auto text = TaggedText(*button, strings_)) button->setToolTip(*text);
  }
  frImg_->CentreLabels();
  display_->ShowSlideStatus();
  delay_->UpdateDelayText();
}

void FrmMain::DispatchToolbarButton(const QString& key) {
  if (QAction* command = CommandOfButton(menu_, key)) command->trigger();
}

void FrmMain::OnOptionToggled() {
  history_->MarkChanged();
  rules_->SyncOptionButtons();
}

void FrmMain::ShowAbout() {
  FrmAbout about(strings_, prompts_, this);
  about.exec();
}

void FrmMain::CleanWorkFolder() {
  for (const workspace::CleanFailure& failure :
       workspace::CleanWorkFolder(document_.workFolder, document_.slideCounter)) {
    prompts_.Ask(WipeFailureMessage(strings_, failure.path, failure.number, failure.description));
  }
}

void FrmMain::ReadCommandLine(const QString& text) {
  if (text.isEmpty()) return;
  try {
    const CommandLineDocument named = ResolveCommandLineDocument(text);
    document_.docFileName = named.fileName;
    document_.docFolder = named.folder;
    openDocument_(text);
  } catch (const Failure& failure) {
    prompts_.Ask({BoxTitle(" (Proc GCL)"),
                  strings_.LoadMessage(103) + text + "\n" +
                      ErrorLine(strings_, failure.number(), failure.description()),
                  PromptMessage::Buttons::kOk, PromptMessage::Icon::kExclamation});
    document_.StartUntitled();
    document_.docFolder.clear();
  }
}

void FrmMain::LayoutMainWindow() {
  const MainLayout layout = ComputeMainLayout(mainArea_->size(), frImg_->size());
  tv_->setGeometry(layout.slideList);
  frImg_->ApplyLayout(layout.frame, layout.defaultPictureBox);
  statusText_->parentWidget()->setMinimumWidth(layout.statusPanelWidth);
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mainArea_ && event->type() == QEvent::Resize) LayoutMainWindow();
  return QMainWindow::eventFilter(watched, event);
}

void FrmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (!autoUpdateDue_) return;
  autoUpdateDue_ = false;
  // Once the window is on screen, not from inside the resize.
  QTimer::singleShot(0, menu_.mnuUpdate, &QAction::trigger);
}

void FrmMain::closeEvent(QCloseEvent* event) {
  const bool mayClose = ConfirmClose(document_, tv_->Count(), prompts_, strings_,
                                     [this] { menu_.mnuSave->trigger(); });
  if (!mayClose) return event->ignore();
  Unload();
  event->accept();
}

void FrmMain::Unload() {
  BusyScope busy(*this);
  history_->Clear();
  CleanWorkFolder();
  cipher_.DiscardPassword();
}

bool FrmMain::HasOwnFocus() const {
  const QWidget* focus = focusWidget();
  return focus == nullptr || focus == this;
}

// Delete, Ctrl+Up and Ctrl+Down are the shortcuts of their menu items.
void FrmMain::keyPressEvent(QKeyEvent* event) {
  if (!HasOwnFocus() || event->key() != Qt::Key_Escape) return QMainWindow::keyPressEvent(event);
  // The repeats of an Escape held to close a dialog come here once it is gone.
  if (!event->isAutoRepeat()) slides_->ClearSelection();
}

}  // namespace pivolane::editor
