#pragma once
// What the designer tests share: dialogs answered step by step, as a user answers them, while
// an editor shows them modally.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backends/Headless.h"
#include "platform/forms/Forms.h"

namespace zelvar::test {

using TStep = std::function<void(TForm&)>;

// Clicks the middle of a control through its form.
inline void ClickOn(TForm& form, const TControl& c) {
  TPoint at = c.FormOrigin();
  int32_t x = at.X + c.Width() / 2, y = at.Y + c.Height() / 2;
  form.DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, x, y);
  form.DispatchMouse(TMessage::MouseUp, mbLeft, {}, x, y);
}

// Presses a button of the shown dialog through the mouse, as a user does.
inline TStep Press(const std::string& name) {
  return [name](TForm& dialog) {
    auto* c = As<TControl>(dialog.FindComponent(name));
    ASSERT_NE(c, nullptr) << name;
    ClickOn(dialog, *c);
  };
}

// Runs f while the dialogs it shows take the steps, one per idle turn, each on the active
// form; every step must have run by the end.
inline void RunWithSteps(std::vector<TStep> steps, const std::function<void()>& f) {
  auto queue = std::make_shared<std::deque<TStep>>(steps.begin(), steps.end());
  auto backend = std::make_unique<THeadlessBackend>();
  backend->OnIdle = [queue] {
    if (queue->empty()) return false;
    TStep step = queue->front();
    queue->pop_front();
    step(*Application().ActiveForm());
    return true;
  };
  Application().SetBackend(std::move(backend));
  f();
  EXPECT_TRUE(queue->empty());
}

}  // namespace zelvar::test
