#pragma once
// What the container tests share: a form with a container, a component that answers the two
// broadcasts and records them, a designer that counts what it is told, and the pages a
// position list shows its control on.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "container/ZelvarA.h"
#include "platform/designer/Designer.h"
#include "platform/forms/Forms.h"

namespace zelvar::test {

// Publishes the two broadcast methods, as every page-bound control does, and records them.
class TPageProbe : public TComponent {
  ZELVAR_CLASS(TPageProbe, TComponent)

 public:
  explicit TPageProbe(TComponent* owner) : TComponent(owner) {}

  void SetNewPosition(int32_t n);
  void SetNumApos(int32_t n);

  std::vector<int32_t> Positions;  // every SetNewPosition received
  std::vector<int32_t> Counts;     // every SetNumApos received
  // Called before recording; may throw or change the form.
  std::function<void(int32_t)> OnPosition;
  // Shared by all probes: which probe was called in which order.
  static std::vector<TPageProbe*>* CallOrder;
};

// Publishes SetNewPosition with a shape the broadcast cannot call.
class TMisshapenProbe : public TComponent {
  ZELVAR_CLASS(TMisshapenProbe, TComponent)

 public:
  using TComponent::TComponent;
  void SetNewPosition() {}
};

class TCountingDesigner : public IDesigner {
 public:
  void Modified() override { ++ModifiedCount; }
  void SelectComponent(TPersistent* instance) override { Selected = instance; }
  int ModifiedCount = 0;
  TPersistent* Selected = nullptr;
};

// The Shown value of every record of a position list, by page.
std::vector<int32_t> Shown(const TAposList& list);

// A 400 by 300 form at 100, 100 with a run-time container of three pages.
class ContainerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TPageProbe* AddProbe();

  std::unique_ptr<TForm> Form;
  TZelvar* Z = nullptr;
};

}  // namespace zelvar::test
