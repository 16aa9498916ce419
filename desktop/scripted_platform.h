// A stand-in desktop for tests and screenshots: answers come from a script,
// and every call is recorded in order.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "desktop/platform.h"

namespace torvane {

class ScriptedPlatform : public Platform {
 public:
  enum class CallKind {
    kMessage,
    kBeep,
    kOpenDialog,
    kTextEditor,
    kFileDialog,
    kPrintDialog,
    kOpenFolder
  };

  struct Call {
    CallKind kind = CallKind::kMessage;
    // kMessage
    QString prompt;
    QString title;
    MessageIcon icon = MessageIcon::kNone;
    MessageButtons buttons = MessageButtons::kOk;
    MessageAnswer answer = MessageAnswer::kOk;
    // kOpenDialog: what the dialog showed, and whether a file was chosen
    QString dialog_title;
    QStringList filters;
    QString file_name_shown;
    bool chosen = false;
    // kFileDialog: the dialog shown, and the paths chosen (none: cancelled)
    FileDialog file_dialog;
    QStringList chosen_paths;
    // kPrintDialog: whether 打印 was pressed
    bool printed = false;
    // kOpenDialog (the chosen path), kTextEditor (the path opened),
    // kPrintDialog (the PDF file printed to) and kOpenFolder (the folder
    // shown)
    QString path;
    // kTextEditor: the path opened as the core names it
    std::string local_path;
  };

  // Each call is recorded as a Call and answered as scripted beside it.

  // The next message box is answered with `answer`; unscripted boxes get OK.
  void AnswerNextMessage(MessageAnswer answer) { answers_.push_back(answer); }
  MessageAnswer ShowMessage(QWidget* owner, const QString& prompt, const QString& title,
                            MessageIcon icon, MessageButtons buttons) override;
  void Beep() override;

  // The next showing of the file dialog chooses `path`, or is cancelled
  // (no value). Unscripted showings are cancelled.
  void ChooseNextFile(std::optional<QString> path) { files_.push_back(std::move(path)); }
  // The next showing of the file dialog runs out of memory (std::bad_alloc).
  void RunOutOfMemoryInNextDialog() { out_of_memory_ = true; }
  bool ShowOpenDialog(QWidget* owner, OpenFileDialog& dialog) override;

  // The next showing of one of the workbench's file dialogs chooses
  // `paths`; none: cancelled. Unscripted showings are cancelled.
  void ChooseNextPaths(QStringList paths) { paths_.push_back(std::move(paths)); }
  QStringList ShowFileDialog(QWidget* owner, const FileDialog& dialog) override;

  // Whether StartTextEditor reports success.
  void SetEditorStarts(bool starts) { editor_starts_ = starts; }
  bool StartTextEditor(const std::string& path) override;

  // The next showing of the print dialog prints, to the PDF file at
  // `path` in place of a printer; none: cancelled. Unscripted showings are
  // cancelled.
  // Records the folder; the file manager always starts.
  bool OpenFolder(const QString& folder) override;

  void PrintNextTo(std::optional<QString> path) { printers_.push_back(std::move(path)); }
  bool ChoosePrinter(QPrinter& printer, QWidget* owner) override;

  const std::vector<Call>& calls() const { return calls_; }
  std::vector<Call> CallsOf(CallKind kind) const;
  void ClearCalls() { calls_.clear(); }

 private:
  // A new call of `kind`, at the end of calls_.
  Call& Record(CallKind kind);

  std::deque<MessageAnswer> answers_;
  std::deque<std::optional<QString>> files_;
  std::deque<QStringList> paths_;
  std::deque<std::optional<QString>> printers_;
  bool editor_starts_ = true;
  bool out_of_memory_ = false;
  std::vector<Call> calls_;
};

}  // namespace torvane
