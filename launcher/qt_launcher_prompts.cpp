#include "launcher/qt_launcher_prompts.h"

#include <cstdlib>
#include <iostream>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

namespace pivolane::launcher {

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

int ShowBox(const std::string& title, const std::string& text,
            QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::Critical, QString::fromStdString(title),
                  QString::fromStdString(text), buttons);
  return box.exec();
}

void ReportOnStandardError(const std::string& title, const std::string& text) {
  std::cerr << title << "\n" << text << "\n";
}

}  // namespace

QtLauncherPrompts::QtLauncherPrompts(int& argc, char** argv) : argc_(argc), argv_(argv) {}

QtLauncherPrompts::~QtLauncherPrompts() = default;

bool QtLauncherPrompts::Ready() {
  if (application_) return true;
  if (!HasDisplay()) return false;
  application_ = std::make_unique<QApplication>(argc_, argv_);
  // Qt's own button texts in the user's language, when installed.
  auto* translator = new QTranslator(application_.get());
  if (translator->load(QLocale(), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
  return true;
}

LauncherPrompts::Answer QtLauncherPrompts::RetryOrCancel(const std::string& title,
                                                         const std::string& text) {
  if (!Ready()) {
    ReportOnStandardError(title, text);
    return Answer::kCancel;
  }
  return ShowBox(title, text, QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry
             ? Answer::kRetry
             : Answer::kCancel;
}

void QtLauncherPrompts::ShowError(const std::string& title, const std::string& text) {
  if (!Ready()) {
    ReportOnStandardError(title, text);
    return;
  }
  ShowBox(title, text, QMessageBox::Ok);
}

}  // namespace pivolane::launcher
