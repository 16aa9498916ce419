#include "desktop/qt_platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QUrl>

#include "desktop/text_editor.h"

namespace torvane {

namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtPlatform::QtPlatform() {
  if (!qt_settings_.isValid()) return;
  for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, qt_settings_.path());
  }
}

MessageAnswer QtPlatform::ShowMessage(QWidget* owner, const QString& prompt, const QString& title,
                                      MessageIcon icon, MessageButtons buttons) {
  QMessageBox box(owner);
  box.setIcon(QtIcon(icon));
  box.setWindowTitle(title);
  box.setTextFormat(Qt::PlainText);
  // Reports join their lines with CR LF; a label breaks lines at LF only.
  box.setText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  if (buttons == MessageButtons::kSaveDiscardCancel) {
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    const int pressed = box.exec();
    if (pressed == QMessageBox::Save) return MessageAnswer::kOk;
    return pressed == QMessageBox::Discard ? MessageAnswer::kDiscard : MessageAnswer::kCancel;
  }
  if (buttons == MessageButtons::kOkCancel) {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  // Closing the box by its title bar runs the escape button: Cancel.
  return box.exec() == QMessageBox::Ok ? MessageAnswer::kOk : MessageAnswer::kCancel;
}

void QtPlatform::Beep() { QApplication::beep(); }

bool QtPlatform::ShowOpenDialog(QWidget* owner, OpenFileDialog& dialog) {
  QFileDialog qt_dialog(owner, dialog.title);
  qt_dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // A typed name is taken as it is; the run reports a file it cannot open.
  qt_dialog.setFileMode(QFileDialog::AnyFile);
  qt_dialog.setNameFilters(dialog.filters);
  if (!dialog.file_name.isEmpty()) qt_dialog.selectFile(dialog.file_name);
  if (qt_dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = qt_dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  dialog.file_name = QDir::toNativeSeparators(chosen.first());
  return true;
}

bool QtPlatform::ChoosePrinter(QPrinter& printer, QWidget* owner) {
  QPrintDialog dialog(&printer, owner);
  return dialog.exec() == QDialog::Accepted;
}

QStringList QtPlatform::ShowFileDialog(QWidget* owner, const FileDialog& dialog) {
  QFileDialog qt_dialog(owner, dialog.title);
  switch (dialog.kind) {
    case FileDialogKind::kOpen:
      qt_dialog.setFileMode(QFileDialog::ExistingFile);
      break;
    case FileDialogKind::kOpenMany:
      qt_dialog.setFileMode(QFileDialog::ExistingFiles);
      break;
    case FileDialogKind::kSave:
      qt_dialog.setAcceptMode(QFileDialog::AcceptSave);
      qt_dialog.setFileMode(QFileDialog::AnyFile);
      break;
    case FileDialogKind::kFolder:
      qt_dialog.setFileMode(QFileDialog::Directory);
      qt_dialog.setOption(QFileDialog::ShowDirsOnly);
      break;
  }
  if (!dialog.filters.isEmpty()) qt_dialog.setNameFilters(dialog.filters);
  if (!dialog.start.isEmpty()) {
    if (QFileInfo(dialog.start).isDir()) {
      qt_dialog.setDirectory(dialog.start);
    } else {
      qt_dialog.selectFile(dialog.start);
    }
  }
  if (qt_dialog.exec() != QDialog::Accepted) return {};
  QStringList chosen;
  for (const QString& path : qt_dialog.selectedFiles()) {
    chosen.push_back(QDir::toNativeSeparators(path));
  }
  return chosen;
}

bool QtPlatform::StartTextEditor(const std::string& path) { return OpenInTextEditor(path); }

bool QtPlatform::OpenFolder(const QString& folder) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::fromNativeSeparators(folder)));
}

}  // namespace torvane
