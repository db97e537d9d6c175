#include "platform/model/window_tree.h"
#include "tests/contract/test_desktop.h"

namespace winscout::testing {
namespace {

constexpr char kModulePath[] = "C:\\Program Files\\Fixture\\fixture.exe";

model::WindowSpec ToModel(const TestWindowSpec& spec) {
  model::WindowSpec out;
  out.class_name = spec.class_name;
  out.text = spec.text;
  out.rect = {spec.rect.left, spec.rect.top, spec.rect.right, spec.rect.bottom};
  out.id = spec.id;
  out.module_path = kModulePath;
  out.visible = spec.visible;
  out.enabled = spec.enabled;
  return out;
}

class ModelTestDesktop final : public TestDesktop {
 public:
  WindowSystem& System() override { return tree_; }
  WindowHandle AddTopLevel(const TestWindowSpec& spec) override {
    return tree_.AddTopLevel(ToModel(spec));
  }
  WindowHandle AddChild(WindowHandle parent, const TestWindowSpec& spec) override {
    return tree_.AddChild(parent, ToModel(spec));
  }
  WindowHandle AddOwned(WindowHandle owner, const TestWindowSpec& spec,
                        bool popup) override {
    return tree_.AddOwned(
        owner, ToModel(spec),
        popup ? model::OwnedStyle::kPopup : model::OwnedStyle::kOverlapped);
  }
  void Destroy(WindowHandle window) override { tree_.Destroy(window); }
  void MoveCursor(ScreenPoint point) override { tree_.MoveCursor(point); }
  bool IsTopmost(WindowHandle window) override { return tree_.IsTopmost(window); }
  std::string OwnModulePath() override { return kModulePath; }
  bool AllowsClassNamesOver255() override { return true; }
  std::string Describe() override { return tree_.Dump(); }

 private:
  model::WindowTree tree_;
};

}  // namespace

std::unique_ptr<TestDesktop> MakeTestDesktop() {
  return std::make_unique<ModelTestDesktop>();
}

}  // namespace winscout::testing
