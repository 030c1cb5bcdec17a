#include "platform/core/Object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvar {
namespace {

using TChangeEvent = TEvent<void(TObject*, int32_t)>;
using TAskEvent = TEvent<bool(TObject*, int32_t&)>;

std::vector<std::string> gCalls;
void FreeHandler(TObject*, int32_t page) {
  gCalls.push_back("free " + std::to_string(page));
}

class TListener {
 public:
  void Changed(TObject*, int32_t page) { Calls.push_back("member " + std::to_string(page)); }
  bool Ask(TObject*, int32_t& page) const {
    page = Redirect;
    return true;
  }
  std::vector<std::string> Calls;
  int32_t Redirect = 7;
};

TEST(Events, TakeLambdasFreeFunctionsAndBoundMembersByPlainAssignment) {
  TChangeEvent event;
  EXPECT_FALSE(event);
  int seen = 0;
  event = [&](TObject*, int32_t page) { seen = page; };
  event(nullptr, 3);
  EXPECT_EQ(seen, 3);
  EXPECT_TRUE(event.MethodName().empty());  // bound in code: nothing to write to a form file

  gCalls.clear();
  event = FreeHandler;
  event(nullptr, 4);
  EXPECT_EQ(gCalls, std::vector<std::string>{"free 4"});

  TListener listener;
  event = Bind(&listener, &TListener::Changed);
  event(nullptr, 5);
  EXPECT_EQ(listener.Calls, std::vector<std::string>{"member 5"});

  // Results and var parameters pass through, from const members too.
  TAskEvent ask = Bind(static_cast<const TListener*>(&listener), &TListener::Ask);
  int32_t page = 1;
  EXPECT_TRUE(ask(nullptr, page));
  EXPECT_EQ(page, 7);

  event = nullptr;
  EXPECT_FALSE(event);
}

}  // namespace
}  // namespace zelvar
