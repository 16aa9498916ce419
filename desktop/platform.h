// What the windows need from the desktop, behind one small interface: modal
// message boxes, the beep, the file dialogs, the text editor, the file
// manager and the print dialog. The
// program uses QtPlatform; the tests and the screenshot tool use a scripted
// stand-in that records every call. Whatever differs between Windows and
// other systems stays behind this interface.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

class QPrinter;
class QWidget;

namespace torvane {

enum class MessageIcon { kNone, kInformation, kQuestion, kWarning };
// kSaveDiscardCancel: 保存, 不保存 and 取消, before unsaved work is lost.
enum class MessageButtons { kOk, kOkCancel, kSaveDiscardCancel };
// Closing a box by its title bar or with Escape answers kCancel; kOk is
// also 保存's answer.
enum class MessageAnswer { kOk, kCancel, kDiscard };

// The window's file dialog w1: what it shows and the file name it keeps from
// one showing to the next.
struct OpenFileDialog {
  QString title;
  QStringList filters;  // shown in this order, each with its pattern in brackets
  QString file_name;    // the name offered at the next showing; the full path after OK
};

// The workbench's file dialogs: open one file, open one or more, save (the
// name typed need not exist; an existing one is confirmed by the dialog),
// or choose a folder.
enum class FileDialogKind { kOpen, kOpenMany, kSave, kFolder };
struct FileDialog {
  FileDialogKind kind = FileDialogKind::kOpen;
  QString title;
  QStringList filters;  // none for kFolder
  QString start;        // the folder, or the file name, the dialog starts at
};

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal box over `owner` with the prompt, the caption, the icon and the
  // buttons; returns the button pressed.
  virtual MessageAnswer ShowMessage(QWidget* owner, const QString& prompt, const QString& title,
                                    MessageIcon icon, MessageButtons buttons) = 0;

  virtual void Beep() = 0;

  // Shows the dialog modally. On OK returns true with dialog.file_name set to
  // the chosen full path (a typed name need not exist); on Cancel returns
  // false and leaves the dialog as it was.
  virtual bool ShowOpenDialog(QWidget* owner, OpenFileDialog& dialog) = 0;

  // Shows the dialog modally: the chosen paths, native separators (one, or
  // for kOpenMany one or more); none when cancelled.
  virtual QStringList ShowFileDialog(QWidget* owner, const FileDialog& dialog) = 0;

  // Opens the file in the system's text editor without waiting for it.
  // `path` is as the core names files: UTF-8, on Linux the system's own
  // bytes, which need not be UTF-8. Returns false when the editor could
  // not be started.
  virtual bool StartTextEditor(const std::string& path) = 0;

  // Shows the folder at `folder` (native or '/' separators) in the
  // system's file manager, without waiting for it. Returns false when it
  // could not be started.
  virtual bool OpenFolder(const QString& folder) = 0;

  // Shows the print dialog modally for `printer`, which the user may set up
  // there (the printer, copies, pages). True on 打印, false on Cancel.
  virtual bool ChoosePrinter(QPrinter& printer, QWidget* owner) = 0;
};

}  // namespace torvane
