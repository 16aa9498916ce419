#include "desktop/scripted_platform.h"

#include <QPrinter>
#include <new>

namespace torvane {

std::vector<ScriptedPlatform::Call> ScriptedPlatform::CallsOf(CallKind kind) const {
  std::vector<Call> found;
  for (const Call& call : calls_) {
    if (call.kind == kind) found.push_back(call);
  }
  return found;
}

MessageAnswer ScriptedPlatform::ShowMessage(QWidget*, const QString& prompt, const QString& title,
                                            MessageIcon icon, MessageButtons buttons) {
  Call call;
  call.kind = CallKind::kMessage;
  call.prompt = prompt;
  call.title = title;
  call.icon = icon;
  call.buttons = buttons;
  if (!answers_.empty()) {
    call.answer = answers_.front();
    answers_.pop_front();
  }
  calls_.push_back(call);
  return call.answer;
}

void ScriptedPlatform::Beep() {
  Call call;
  call.kind = CallKind::kBeep;
  calls_.push_back(call);
}

bool ScriptedPlatform::ShowOpenDialog(QWidget*, OpenFileDialog& dialog) {
  if (out_of_memory_) {
    out_of_memory_ = false;
    throw std::bad_alloc();
  }
  Call call;
  call.kind = CallKind::kOpenDialog;
  call.dialog_title = dialog.title;
  call.filters = dialog.filters;
  call.file_name_shown = dialog.file_name;
  if (!files_.empty()) {
    if (files_.front()) {
      call.chosen = true;
      call.path = *files_.front();
      dialog.file_name = call.path;
    }
    files_.pop_front();
  }
  calls_.push_back(call);
  return call.chosen;
}

QStringList ScriptedPlatform::ShowFileDialog(QWidget*, const FileDialog& dialog) {
  Call call;
  call.kind = CallKind::kFileDialog;
  call.file_dialog = dialog;
  if (!paths_.empty()) {
    call.chosen_paths = paths_.front();
    paths_.pop_front();
  }
  calls_.push_back(call);
  return call.chosen_paths;
}

bool ScriptedPlatform::StartTextEditor(const std::string& path) {
  Call call;
  call.kind = CallKind::kTextEditor;
  call.path = QString::fromStdString(path);
  call.local_path = path;
  calls_.push_back(call);
  return editor_starts_;
}

bool ScriptedPlatform::ChoosePrinter(QPrinter& printer, QWidget*) {
  Call call;
  call.kind = CallKind::kPrintDialog;
  if (!printers_.empty()) {
    if (printers_.front()) {
      call.printed = true;
      call.path = *printers_.front();
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(call.path);
    }
    printers_.pop_front();
  }
  calls_.push_back(call);
  return call.printed;
}

}  // namespace torvane
