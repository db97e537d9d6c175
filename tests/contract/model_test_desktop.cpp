#include "platform/model/model_settings.h"
#include "platform/model/window_tree.h"
#include "tests/contract/test_desktop.h"

namespace winscout::testing {
namespace {

constexpr char kModulePath[] = "C:\\Program Files\\Fixture\\fixture.exe";
constexpr std::uint32_t kProcessId = 4242;
constexpr std::uint32_t kThreadId = 77;

model::WindowSpec ToModel(const TestWindowSpec& props) {
  model::WindowSpec out;
  out.class_name = props.class_name;
  out.text = props.text;
  out.rect = {props.rect.left, props.rect.top, props.rect.right, props.rect.bottom};
  out.id = props.id;
  out.module_path = kModulePath;
  out.visible = props.visible;
  out.enabled = props.enabled;
  out.process_id = kProcessId;
  out.thread_id = kThreadId;
  out.style = props.style;
  return out;
}

class ModelTestDesktop final : public TestDesktop {
 public:
  ModelTestDesktop() {
    tree_.SetProcessImage(kProcessId, kModulePath);
    tree_.SetOwnProcess(kProcessId);
  }
  WindowSystem& System() override { return tree_; }
  WindowHandle AddTopLevel(const TestWindowSpec& props) override {
    return tree_.AddTopLevel(ToModel(props));
  }
  WindowHandle AddChild(WindowHandle parent, const TestWindowSpec& props) override {
    return tree_.AddChild(parent, ToModel(props));
  }
  WindowHandle AddOwned(WindowHandle owner, const TestWindowSpec& props,
                        bool popup) override {
    return tree_.AddOwned(
        owner, ToModel(props),
        popup ? model::OwnedStyle::kPopup : model::OwnedStyle::kOverlapped);
  }
  void Destroy(WindowHandle window) override { tree_.Destroy(window); }
  // The tree shows each item by its own name, the last part of its path.
  void FillItems(WindowHandle control, ItemList list, const ItemRows& rows) override {
    ItemRows items = rows;
    if (list == ItemList::kTreeView) {
      for (auto& row : items)
        row.front() = row.front().substr(row.front().rfind('/') + 1);
    }
    tree_.SetItems(control, std::move(items));
  }
  std::vector<TestCommand> CommandsTo(WindowHandle window) override {
    std::vector<TestCommand> commands;
    for (const model::ParentCommand& c : tree_.Commands()) {
      if (c.parent == window) commands.push_back({c.id, c.code, c.control});
    }
    return commands;
  }
  void Pump() override {}
  void MoveCursor(ScreenPoint point) override { tree_.MoveCursor(point); }
  void MakeTopmost(WindowHandle window) override { tree_.MakeTopmost(window); }
  bool IsTopmost(WindowHandle window) override { return tree_.IsTopmost(window); }
  std::string OwnModulePath() override { return kModulePath; }
  std::uint32_t OwnProcessId() override { return kProcessId; }
  std::uint32_t OwnThreadId() override { return kThreadId; }
  bool AllowsClassNamesOver255() override { return true; }
  std::string Describe() override { return tree_.Dump(); }

 private:
  model::WindowTree tree_;
};

}  // namespace

std::unique_ptr<TestDesktop> MakeTestDesktop() {
  return std::make_unique<ModelTestDesktop>();
}

std::unique_ptr<SettingsStore> MakeTestSettings() {
  return std::make_unique<model::ModelSettings>();
}

}  // namespace winscout::testing
