// The designer's registries and editors: which property editor and which component editor a
// property or component gets, the plain form designer's selection, and the base editors.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/controls/Buttons.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/designer/Designer.h"
#include "platform/forms/Forms.h"
#include "tests/TestSupport.h"
#include "tests/platform/core/TestClasses.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class TNamedEditor : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  std::string GetValue() const override { return "named"; }
};
class TClassBoundEditor : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  std::string GetValue() const override { return "class"; }
};

// Classes of this test only, so its registrations reach nothing else.
class TDesignBase : public TCustomControl {
  ZELVAR_CLASS(TDesignBase, TCustomControl)

 public:
  using TCustomControl::TCustomControl;
};
class TDesignLeaf : public TDesignBase {
  ZELVAR_CLASS(TDesignLeaf, TDesignBase)

 public:
  using TDesignBase::TDesignBase;
};
const TClassInfo& TDesignBase::StaticClassInfo() {
  static const auto info = TClassBuilder<TDesignBase>("TDesignBase").Build();
  return *info;
}
const TClassInfo& TDesignLeaf::StaticClassInfo() {
  static const auto info = TClassBuilder<TDesignLeaf>("TDesignLeaf").Build();
  return *info;
}

class TVerbEditor : public TComponentEditor {
 public:
  using TComponentEditor::TComponentEditor;
  int GetVerbCount() const override { return 1; }
  std::string GetVerb(int) const override { return "Poke"; }
  void ExecuteVerb(int) override { Component()->SetTag(Component()->Tag() + 1); }
};

TEST(Designer, TheMostSpecificPropertyEditorWins) {
  TForm form(nullptr);
  auto* leaf = New<TDesignLeaf>(&form);
  auto* base = New<TDesignBase>(&form);
  const TPropInfo& width = *leaf->ClassInfo().FindProp("Width");
  // Without a registration an integer gets the integer editor.
  auto plain = GetPropertyEditor(nullptr, {leaf}, width);
  EXPECT_NE(dynamic_cast<TIntegerProperty*>(plain.get()), nullptr);
  RegisterPropertyEditor({TPropKind::Integer, nullptr}, &TDesignLeaf::StaticClassInfo(), "",
                         PropertyEditorFactory<TClassBoundEditor>());
  RegisterPropertyEditor({TPropKind::Integer, nullptr}, &TDesignLeaf::StaticClassInfo(), "Width",
                         PropertyEditorFactory<TNamedEditor>());
  EXPECT_EQ(GetPropertyEditor(nullptr, {leaf}, width)->GetValue(), "named");
  EXPECT_EQ(GetPropertyEditor(nullptr, {leaf}, *leaf->ClassInfo().FindProp("Height"))->GetValue(),
            "class");
  EXPECT_EQ(GetPropertyEditor(nullptr, {base}, *base->ClassInfo().FindProp("Width"))->GetValue(),
            std::to_string(base->Width()));
}

TEST(Designer, IntegerAndClassEditorsReadAndWriteTheProperty) {
  TForm form(nullptr);
  auto* a = New<TLabel>(&form);
  auto* b = New<TLabel>(&form);
  TFormDesigner designer(form);
  const TPropInfo& left = *a->ClassInfo().FindProp("Left");
  TIntegerProperty editor(&designer, {a, b}, left);
  editor.SetValue("42");
  EXPECT_EQ(a->Left(), 42);
  EXPECT_EQ(b->Left(), 42);
  EXPECT_EQ(designer.ModifiedCount(), 1);
  EXPECT_THAT(MessageOf<EConvertError>([&] { editor.SetValue("abc"); }), HasSubstr("abc"));
  EXPECT_EQ(editor.GetOrdValue(), 42);
  EXPECT_THAT(MessageOf<EListError>([&] { editor.GetComponent(2); }), HasSubstr("2"));

  const TPropInfo& font = *a->ClassInfo().FindProp("Font");
  auto nested = GetPropertyEditor(&designer, {a}, font);
  EXPECT_EQ(nested->GetValue(), "(TFont)");
  EXPECT_TRUE(nested->GetAttributes().Contains(paSubProperties));
  std::vector<std::string> names;
  for (auto& sub : nested->GetProperties()) names.push_back(sub->Prop().Name);
  EXPECT_THAT(names, ::testing::Contains("Height"));
}

TEST(Designer, APictureIsSetByItsFileAndKeptWhenTheFileCannotBeRead) {
  TForm form(nullptr);
  auto* a = New<TBitBtn>(&form);
  auto* b = New<TBitBtn>(&form);
  TFormDesigner designer(form);
  auto editor = GetPropertyEditor(&designer, {a, b}, *a->ClassInfo().FindProp("Glyph"));
  ASSERT_NE(dynamic_cast<TPictureProperty*>(editor.get()), nullptr);
  EXPECT_EQ(editor->GetValue(), "(None)");

  const std::string file =
      (std::filesystem::path(::testing::TempDir()) / "picture-editor.png").string();
  TBitmap picture(3, 2);
  picture.Canvas()->SetPixel(2, 1, clRed);
  picture.SaveToFile(file);
  editor->SetValue(file);
  EXPECT_EQ(editor->GetValue(), "(TBitmap 3x2)");
  EXPECT_EQ(b->Glyph()->Canvas()->Pixel(2, 1), clRed);

  EXPECT_THAT(MessageOf<Exception>([&] { editor->SetValue(file + ".missing.png"); }),
              HasSubstr("missing"));
  EXPECT_EQ(a->Glyph()->Width(), 3);
  editor->SetValue("");
  EXPECT_TRUE(a->Glyph()->Empty() && b->Glyph()->Empty());
  std::filesystem::remove(file);
}

TEST(Designer, TheClosestRegisteredAncestorsComponentEditorWins) {
  TForm form(nullptr);
  auto* base = New<TDesignBase>(&form);
  auto* leaf = New<TDesignLeaf>(&form);
  EXPECT_EQ(GetComponentEditor(leaf, nullptr)->GetVerbCount(), 0);
  RegisterComponentEditor(TDesignBase::StaticClassInfo(), ComponentEditorFactory<TVerbEditor>());
  auto editor = GetComponentEditor(leaf, nullptr);
  EXPECT_EQ(editor->GetVerb(0), "Poke");
  editor->Edit();  // runs the first verb
  EXPECT_EQ(leaf->Tag(), 1);
  RegisterComponentEditor(TDesignLeaf::StaticClassInfo(),
                          ComponentEditorFactory<TComponentEditor>());
  EXPECT_EQ(GetComponentEditor(leaf, nullptr)->GetVerbCount(), 0);
  EXPECT_EQ(GetComponentEditor(base, nullptr)->GetVerbCount(), 1);
}

TEST(Designer, ThePlainDesignerSelectsWhatIsPressedAndCountsChanges) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* panel = New<TPanel>(&form);
  panel->SetParent(&form);
  panel->SetBounds(10, 10, 100, 50);
  {
    TFormDesigner designer(form);
    EXPECT_TRUE(form.IsDesigning());
    EXPECT_TRUE(panel->IsDesigning());
    EXPECT_EQ(form.Designer(), &designer);
    form.DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, 20, 20);
    EXPECT_THAT(designer.Selection(), ElementsAre(panel));
    form.DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, 200, 150);
    EXPECT_TRUE(designer.Selection().empty());  // the form itself
    designer.Modified();
    EXPECT_EQ(designer.ModifiedCount(), 1);
  }
  EXPECT_EQ(form.Designer(), nullptr);
}

TEST(Designer, PalettePagesHoldTheirClassesInOrderWithImages) {
  HMODULE module = RegisterModule("DesignerTestImages");
  TImageData image;
  image.Width = image.Height = 2;
  image.Pixels.assign(4, 0xFF000000);
  RegisterBitmapResource(module, "TPANEL", image);
  RegisterComponents("Test page", {&TPanel::StaticClassInfo(), &TButton::StaticClassInfo()},
                     module);  // both are registered anyway
  const TPalettePage* page = nullptr;
  for (const TPalettePage& p : PalettePages())
    if (p.Name == "Test page") page = &p;
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->Entries.size(), 2u);
  EXPECT_EQ(page->Entries[0].Class, &TPanel::StaticClassInfo());
  ASSERT_NE(page->Entries[0].Image, nullptr);
  EXPECT_EQ(page->Entries[0].Image->Width, 2);
  EXPECT_EQ(page->Entries[1].Image, nullptr);
  EXPECT_EQ(GetClass("TPanel"), &TPanel::StaticClassInfo());
}

}  // namespace
}  // namespace zelvar::test
