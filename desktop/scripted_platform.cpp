#include "desktop/scripted_platform.h"

#include <QPrinter>
#include <new>

namespace torvane {
namespace {

// The next scripted answer, taken off the script; none when the script has
// run out.
template <class Answer>
std::optional<Answer> Next(std::deque<Answer>& script) {
  if (script.empty()) return std::nullopt;
  Answer answer = std::move(script.front());
  script.pop_front();
  return answer;
}

}  // namespace

std::vector<ScriptedPlatform::Call> ScriptedPlatform::CallsOf(CallKind kind) const {
  std::vector<Call> found;
  for (const Call& call : calls_) {
    if (call.kind == kind) found.push_back(call);
  }
  return found;
}

ScriptedPlatform::Call& ScriptedPlatform::Record(CallKind kind) {
  calls_.emplace_back();
  calls_.back().kind = kind;
  return calls_.back();
}

MessageAnswer ScriptedPlatform::ShowMessage(QWidget*, const QString& prompt, const QString& title,
                                            MessageIcon icon, MessageButtons buttons) {
  Call& call = Record(CallKind::kMessage);
  call.prompt = prompt;
  call.title = title;
  call.icon = icon;
  call.buttons = buttons;
  if (const auto answer = Next(answers_)) call.answer = *answer;
  return call.answer;
}

void ScriptedPlatform::Beep() { Record(CallKind::kBeep); }

bool ScriptedPlatform::ShowOpenDialog(QWidget*, OpenFileDialog& dialog) {
  if (out_of_memory_) {
    out_of_memory_ = false;
    throw std::bad_alloc();
  }
  Call& call = Record(CallKind::kOpenDialog);
  call.dialog_title = dialog.title;
  call.filters = dialog.filters;
  call.file_name_shown = dialog.file_name;
  if (const auto path = Next(files_); path && *path) {
    call.chosen = true;
    call.path = **path;
    dialog.file_name = call.path;
  }
  return call.chosen;
}

QStringList ScriptedPlatform::ShowFileDialog(QWidget*, const FileDialog& dialog) {
  Call& call = Record(CallKind::kFileDialog);
  call.file_dialog = dialog;
  if (auto paths = Next(paths_)) call.chosen_paths = std::move(*paths);
  return call.chosen_paths;
}

bool ScriptedPlatform::StartTextEditor(const std::string& path) {
  Call& call = Record(CallKind::kTextEditor);
  call.path = QString::fromStdString(path);
  call.local_path = path;
  return editor_starts_;
}

bool ScriptedPlatform::OpenFolder(const QString& folder) {
  Record(CallKind::kOpenFolder).path = folder;
  return true;
}

bool ScriptedPlatform::ChoosePrinter(QPrinter& printer, QWidget*) {
  Call& call = Record(CallKind::kPrintDialog);
  if (const auto path = Next(printers_); path && *path) {
    call.printed = true;
    call.path = **path;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(call.path);
  }
  return call.printed;
}

}  // namespace torvane
