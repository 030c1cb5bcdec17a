#include "tests/container/ContainerSupport.h"

#include "platform/core/TypInfo.h"

namespace zelvar::test {

std::vector<TPageProbe*>* TPageProbe::CallOrder = nullptr;

const TClassInfo& TPageProbe::StaticClassInfo() {
  static const auto info = TClassBuilder<TPageProbe>("TPageProbe")
                               .Method("SetNewPosition", &TPageProbe::SetNewPosition)
                               .Method("SetNumApos", &TPageProbe::SetNumApos)
                               .Build();
  return *info;
}

const TClassInfo& TMisshapenProbe::StaticClassInfo() {
  static const auto info = TClassBuilder<TMisshapenProbe>("TMisshapenProbe")
                               .Method("SetNewPosition", &TMisshapenProbe::SetNewPosition)
                               .Build();
  return *info;
}

void TPageProbe::SetNewPosition(int32_t n) {
  if (OnPosition) OnPosition(n);
  Positions.push_back(n);
  if (CallOrder) CallOrder->push_back(this);
}

void TPageProbe::SetNumApos(int32_t n) {
  Counts.push_back(n);
  if (CallOrder) CallOrder->push_back(this);
}

std::vector<int32_t> Shown(const TAposList& list) {
  std::vector<int32_t> r;
  for (const TAposRec& rec : list.Records()) r.push_back(rec.Shown);
  return r;
}

void ContainerTest::SetUp() {
  Form.reset(New<TForm>(nullptr));
  Form->SetName("Form1");
  Form->SetBounds(100, 100, 400, 300);
  Z = New<TZelvar>(Form.get());
  Z->SetName("Zelvar1");
  Z->SetParent(Form.get());
  Z->SetNumPages(3);
}

void ContainerTest::TearDown() {
  Form.reset();
  TPageProbe::CallOrder = nullptr;
}

TPageProbe* ContainerTest::AddProbe() {
  return New<TPageProbe>(Form.get());
}

}  // namespace zelvar::test
