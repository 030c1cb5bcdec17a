#include "platform/graphics/Resources.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/core/Exceptions.h"

namespace zelvar {
namespace {

// The registry lives for the whole program, so each test uses module names of its own.

TImageData Filled(int32_t w, int32_t h, uint32_t colour) {
  return TImageData(w, h, colour);
}

TEST(Resources, SameModuleForTheSameNameInAnyCase) {
  HMODULE a = RegisterModule("ResourcesTest.Module");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(RegisterModule("ResourcesTest.Module"), a);
  EXPECT_EQ(RegisterModule("RESOURCESTEST.module"), a);
  EXPECT_NE(RegisterModule("ResourcesTest.Other"), a);
}

TEST(Resources, NamesCompareCaseInsensitively) {
  HMODULE m = RegisterModule("ResourcesTest.Case");
  RegisterBitmapResource(m, "ArrowL", Filled(3, 2, 0xFF112233));
  HBITMAP b = LoadBitmapA(m, "ARROWL");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(LoadBitmapA(m, "arrowl"), b);
  EXPECT_EQ(LoadBitmapA(m, "ArrowL"), b);
  EXPECT_EQ(*b, Filled(3, 2, 0xFF112233));
}

TEST(Resources, MissingNamesAndModulesGiveNull) {
  HMODULE m = RegisterModule("ResourcesTest.Missing");
  RegisterBitmapResource(m, "HELP", Filled(1, 1, 0xFF000000));
  EXPECT_EQ(LoadBitmapA(m, "HELPX"), nullptr);
  EXPECT_EQ(LoadBitmapA(m, "HEL"), nullptr);
  EXPECT_EQ(LoadBitmapA(m, ""), nullptr);
  EXPECT_EQ(LoadBitmapA(nullptr, "HELP"), nullptr);
  // Another module does not see it.
  EXPECT_EQ(LoadBitmapA(RegisterModule("ResourcesTest.Missing2"), "HELP"), nullptr);
  // A handle that was never a module is refused without being followed.
  int notAModule = 0;
  EXPECT_EQ(LoadBitmapA(reinterpret_cast<HMODULE>(&notAModule), "HELP"), nullptr);
}

TEST(Resources, ReplacingKeepsOldHandlesValid) {
  HMODULE m = RegisterModule("ResourcesTest.Replace");
  RegisterBitmapResource(m, "Glyph", Filled(2, 2, 0xFFFF0000));
  HBITMAP first = LoadBitmapA(m, "GLYPH");
  ASSERT_NE(first, nullptr);
  RegisterBitmapResource(m, "glyph", Filled(4, 1, 0xFF00FF00));
  HBITMAP second = LoadBitmapA(m, "Glyph");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(*second, Filled(4, 1, 0xFF00FF00));
  // The old handle still points at the old picture, not at freed memory.
  EXPECT_EQ(*first, Filled(2, 2, 0xFFFF0000));
}

TEST(Resources, RegisteringNeedsAModuleAndConsistentPixels) {
  EXPECT_THROW(RegisterBitmapResource(nullptr, "X", Filled(1, 1, 0)), EInvalidOperation);
  int notAModule = 0;
  EXPECT_THROW(RegisterBitmapResource(reinterpret_cast<HMODULE>(&notAModule), "X", Filled(1, 1, 0)),
               EInvalidOperation);
  HMODULE m = RegisterModule("ResourcesTest.Bad");
  TImageData bad(2, 2);
  bad.Pixels.pop_back();
  EXPECT_THROW(RegisterBitmapResource(m, "X", bad), EInvalidGraphic);
  EXPECT_EQ(LoadBitmapA(m, "X"), nullptr);
  RegisterBitmapResource(m, "Empty", TImageData());
  ASSERT_NE(LoadBitmapA(m, "Empty"), nullptr);
  EXPECT_EQ(LoadBitmapA(m, "Empty")->Width, 0);
}

}  // namespace
}  // namespace zelvar
