#pragma once

#include <optional>

#include "app/action_menu.h"
#include "app/finder_settings.h"
#include "codegen/finder_language.h"
#include "codegen/script.h"
#include "codegen/search_plan.h"
#include "codegen/send_message_code.h"
#include "inspector/item_reading.h"
#include "inspector/script_run.h"
#include "inspector/try_it.h"
#include "inspector/window_inspector.h"
#include "platform/settings_store.h"
#include "platform/toolkit.h"
#include "platform/window_system.h"

namespace winscout::app {

// The behaviour of the main window: start-up, the layout switch, live
// inspection, the two arrow gestures with their target outline, and the
// finder code's language and style, kept in the settings, wired to the
// controls of a form that a toolkit made from kMainForm. It owns the
// inspector's memory.
class MainWindow {
 public:
  MainWindow(Form& form, WindowSystem& windows, ModalMessageBox& messages,
             SettingsStore& settings, Clipboard& clipboard);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Arrow pictures in, About last in the system menu, shown.
  void Start();

  // What a drop of the code arrow does, for the window under the pointer now.
  void PickWindowAtCursor();
  // What a drop onto the window does, and the report boxes describe it.
  void PickWindow(WindowHandle window);
  // Picks the window and writes its finder code followed by the code that
  // sends it the message; a change of language spells both anew.
  void PickWindowToSend(WindowHandle window,
                        std::optional<codegen::MessageToSend> message);
  WindowHandle LastPickedWindow() const { return inspector_.LastPickedWindow(); }
  // The code box's text: the code for the window picked last.
  std::string CodeText() const { return code_box_.Text(); }
  // The actions that fit the window picked last (Find only first).
  const std::vector<codegen::Action>& OfferedActions() const { return offered_actions_; }
  // Does the action, or the operation, on the window picked last, and shows
  // what came of it (an operation only when it fails).
  void TryAction(codegen::Action action);
  void Operate(WindowOperation operation);
  // The code box's item that starts or stops recording, beside F4.
  static constexpr char kRecordItem[] = "Record Steps\tF4";
  static constexpr char kStopRecordingItem[] = "Stop Recording\tF4";
  // Told when the user chooses the item.
  void OnRecordChosen(EventHandler handler) { on_record_chosen_ = handler; }
  // The item says what choosing it does.
  void SetRecording(bool recording);
  // The script into the code box, spelled again at each change of language
  // or way until the next pick.
  void ShowScript(codegen::Script script);
  static constexpr char kOwnWindowRefused[] =
      "That is one of WinScout's own windows: WinScout does not close, hide or "
      "disable them.";
  // Told the window of every pick under the pointer, by drop or otherwise.
  void OnPickedAtCursor(Handler<void(WindowHandle)> handler) {
    on_picked_at_cursor_ = std::move(handler);
  }

 private:
  void OnCodeArrowDown();
  void OnCodeArrowUp();
  void OnCodeArrowCancel();
  void OnInspectorArrowDown();
  void OnInspectorArrowUp();
  void OnArrowMove();
  void OnTick();
  void OnFinderMenuChosen(std::size_t index);
  void SetCodeMenu();
  // Does the chosen action, or sends the chosen message, to the target now
  // and shows what came of it.
  void TryIt();
  // Try it on the script: its steps one after the other, a step that waits
  // for its window looked for again at each tick.
  void RunScript();
  void OnScriptTick();
  // Shows the outcome: of a long text, the first lines and the last, the
  // whole text on the clipboard.
  void ShowOutcome(const inspector::ActionOutcome& outcome);
  // Reads the list's items a step at a time while idle; the user may stop it.
  void ReadItems(WindowHandle target, ItemList list);
  bool ReadItemsStep();
  void EndReading(inspector::ActionOutcome outcome);
  // Whether the target is one of WinScout's own windows, which the action
  // would close, hide or disable; if so, the user is told.
  bool RefusedAsOwn(WindowHandle target);
  void GenerateCode();
  // The kept searches, in the chosen language and style, into the code box.
  void WriteCode();
  void SetLiveInspection(bool on);
  void RestoreArrow(PictureBox& box);
  void Outline(WindowHandle window);

  Form& form_;
  WindowSystem& windows_;
  ModalMessageBox& messages_;
  Clipboard& clipboard_;
  inspector::WindowInspector inspector_;
  PictureBox& code_arrow_;
  PictureBox& inspector_arrow_;
  TextBox& code_box_;
  TextBox& handle_box_;
  Timer& timer_;
  Timer& script_timer_;
  TargetHighlight& highlight_;
  const Picture* arrow_;
  inspector::ReportBoxes report_boxes_;
  WindowHandle outlined_ = 0;
  SettingsStore& store_;
  FinderSettings finder_settings_;
  // The searches behind the code box's code, to write them in another
  // language or style.
  std::optional<codegen::SearchPlan> plan_;
  // What the code does to the target, and what fits the target; each pick
  // starts from finding only.
  codegen::ActionPlan action_;
  std::vector<codegen::Action> offered_actions_ = {codegen::Action::kFindOnly};
  // What the code sends the picked window after finding it, if anything: a
  // logged message or a menu item's command, written instead of the action.
  std::optional<codegen::MessageToSend> send_;
  // The recorded script the code box holds, if it holds one.
  std::optional<codegen::Script> script_;
  std::optional<inspector::ScriptRun> script_run_;
  bool recording_ = false;
  EventHandler on_record_chosen_;
  Handler<void(WindowHandle)> on_picked_at_cursor_;
  // Try it's reading of a list's items, while it goes on, and the items it
  // asks for at a time.
  std::optional<inspector::ItemReading> reading_;
  std::size_t piece_items_ = 0;
};

}  // namespace winscout::app
