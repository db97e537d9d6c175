// What the in-memory desktop does beyond the shared window-system contract:
// the cases a real desktop cannot pin down (Z-order of top-level windows,
// documented hit-testing rules, cascading destruction).

#include "platform/model/window_tree.h"

#include <gtest/gtest.h>

namespace winscout::model {
namespace {

WindowSpec At(std::string cls, ScreenRect rect) {
  return {.class_name = std::move(cls), .rect = rect};
}

TEST(WindowTree, NewTopLevelWindowsComeFirstAndTopmostOnesBeforeAll) {
  WindowTree tree;
  const WindowHandle a = tree.AddTopLevel({.class_name = "App"});
  const WindowHandle b = tree.AddTopLevel({.class_name = "App"});
  const WindowHandle c = tree.AddTopLevel({.class_name = "App"});
  EXPECT_EQ(tree.FindTopLevel("App"), c);
  EXPECT_EQ(tree.FindChild(0, c, "App"), b);
  EXPECT_EQ(tree.FindChild(0, b, "App"), a);
  EXPECT_EQ(tree.FindChild(0, a, "App"), 0);
  tree.MakeTopmost(a);
  EXPECT_TRUE(tree.IsTopmost(a));
  EXPECT_EQ(tree.FindTopLevel("App"), a);
  EXPECT_EQ(tree.FindChild(0, a, "App"), c);
  const WindowHandle d = tree.AddTopLevel({.class_name = "App"});
  EXPECT_EQ(tree.FindChild(0, a, "App"), d) << "new windows stay below topmost ones";
}

TEST(WindowTree, HitTestingFollowsZOrderVisibilityAndEnabledState) {
  WindowTree tree;
  const WindowHandle back = tree.AddTopLevel(At("Back", {0, 0, 100, 100}));
  const WindowHandle front = tree.AddTopLevel(At("Front", {50, 50, 150, 150}));
  const WindowHandle disabled = tree.AddChild(front, At("Button", {60, 60, 80, 80}));
  tree.SetEnabled(disabled, false);
  const WindowHandle hidden = tree.AddChild(back, At("Edit", {10, 10, 40, 40}));
  tree.SetVisible(hidden, false);
  const WindowHandle under = tree.AddChild(back, At("Static", {10, 10, 40, 40}));
  struct Case {
    ScreenPoint point;
    WindowHandle expected;
  };
  for (const Case& c : {Case{{70, 70}, disabled}, Case{{55, 55}, front},
                        Case{{20, 20}, under}, Case{{45, 45}, back},
                        Case{{100, 100}, front}, Case{{150, 150}, 0}, Case{{-1, 5}, 0}}) {
    EXPECT_EQ(tree.WindowAt(c.point), c.expected)
        << "(" << c.point.x << ", " << c.point.y << ")\n"
        << tree.Dump();
  }
  tree.SetEnabled(front, false);
  EXPECT_EQ(tree.WindowAt({55, 55}), front) << "a disabled top-level window is still hit";
  EXPECT_EQ(tree.WindowAt({70, 70}), disabled);
  tree.SetVisible(front, false);
  EXPECT_EQ(tree.WindowAt({70, 70}), back) << "a hidden window's children are hidden";
}

TEST(WindowTree, DestroyTakesChildrenAndOwnedWindowsAlong) {
  WindowTree tree;
  const WindowHandle main = tree.AddTopLevel({.class_name = "Main"});
  const WindowHandle child = tree.AddChild(main, {.class_name = "Edit"});
  const WindowHandle dialog = tree.AddOwned(main, {.class_name = "#32770"});
  const WindowHandle button = tree.AddChild(dialog, {.class_name = "Button"});
  const WindowHandle other = tree.AddTopLevel({.class_name = "Other"});
  tree.Destroy(main);
  for (WindowHandle w : {main, child, dialog, button}) EXPECT_FALSE(tree.Exists(w)) << w;
  EXPECT_TRUE(tree.Exists(other));
  EXPECT_EQ(tree.WindowCount(), 1u);
  const WindowHandle fresh = tree.AddTopLevel({.class_name = "Main"});
  for (WindowHandle w : {main, child, dialog, button}) EXPECT_NE(fresh, w) << "reused";
}

TEST(WindowTree, HandlesSkipZeroAndKeepTheirSign) {
  WindowTree tree(-8, 4);
  const WindowHandle a = tree.AddTopLevel({.class_name = "A"});
  const WindowHandle b = tree.AddTopLevel({.class_name = "A"});
  const WindowHandle c = tree.AddTopLevel({.class_name = "A"});
  EXPECT_EQ(a, -8);
  EXPECT_EQ(b, -4);
  EXPECT_EQ(c, 4);
  EXPECT_EQ(tree.ClassName(c, 10), "A");
}

TEST(WindowTree, DumpShowsTheTreeWithEscapedTexts) {
  WindowTree tree(100, 1);
  const WindowHandle main = tree.AddTopLevel(
      {.class_name = "Main", .text = "a\"b\n", .rect = {1, 2, 3, 4}, .id = 0});
  tree.AddChild(main, {.class_name = "Edit", .id = 40000, .visible = false});
  tree.AddOwned(main, {.class_name = "#32770"});
  tree.MakeTopmost(main);
  EXPECT_EQ(tree.Dump(),
            "cursor (0, 0)\n"
            "100 \"Main\" \"a\\\"b\\x0a\" id=0 rect=(1,2,3,4) topmost\n"
            "  101 \"Edit\" \"\" id=40000 rect=(0,0,0,0) hidden\n"
            "102 \"#32770\" \"\" id=0 rect=(0,0,0,0) popup owned by 100\n");
}

}  // namespace
}  // namespace winscout::model
