#include "platform/streaming/FormFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/core/TypInfo.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/FormText.h"
#include "tests/TestSupport.h"
#include "tests/platform/core/TestClasses.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;

// Counts live instances and records the component state its setters and Loaded see.
class TProbe : public TComponent {
  ZELVAR_CLASS(TProbe, TComponent)

 public:
  explicit TProbe(TComponent* owner) : TComponent(owner) { ++Live; }
  ~TProbe() override { --Live; }

  void SetValue(int32_t v) {
    FValue = v;
    ReadingWhenSet = IsReading() && IsLoading();
  }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCalls;
    PeerAtLoaded = FPeer;
  }
  void DefineProperties(TFiler& filer) override {
    filer.DefineProperty(
        "Extra", [this](TReader& r) { Extra = r.ReadInteger(); },
        [this](TWriter& w) { w.WriteInteger(Extra); }, Extra != 0);
    filer.DefineBinaryProperty(
        "Blob", [this](TStream& s) { Blob = s.ReadAll(); },
        [this](TStream& s) { s.WriteBuffer(Blob); }, !Blob.empty());
  }

  static inline int Live = 0;
  int32_t FValue = 0;
  TProbe* FPeer = nullptr;
  int32_t Extra = 0;
  std::string Blob;
  bool ReadingWhenSet = false;
  int LoadedCalls = 0;
  TProbe* PeerAtLoaded = nullptr;
};

const TClassInfo& TProbe::StaticClassInfo() {
  static const auto info = TClassBuilder<TProbe>("TProbe")
                               .Property("Value", &TProbe::FValue, &TProbe::SetValue)
                               .Property("Peer", &TProbe::FPeer, &TProbe::FPeer)
                               .Build();
  return *info;
}

class FormFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses<TThing, TBigThing, TProbe>();
    TProbe::Live = 0;
  }
  void TearDown() override { EXPECT_EQ(TProbe::Live, 0) << "a component outlived its form"; }

  template <class F>
  std::string ReadError(F read) {
    try {
      delete read();
    } catch (const EReadError& e) {
      return e.Message();
    }
    return "no error";
  }
};

TEST_F(FormFiles, ComponentsRoundTripInBothFormats) {
  TThing form(nullptr);
  form.SetName("Form1");
  auto* a = new TThing(&form);
  a->SetName("A");
  auto* b = new TBigThing(&form);
  b->SetName("B");
  SetPropText(a, "Count", "-70000");
  SetPropText(a, "Flag", "False");
  SetPropText(a, "Shade", "shGreen");
  SetPropText(a, "Shades", "[shRed, shBlue]");
  SetPropText(a, "Caption", "'line'#13#10'it''s'");
  SetPropText(a, "Sub.Num", "9");
  SetPropText(a, "Sub.Text", "'nested'");
  SetPropText(a, "Buddy", "B");  // a reference forward, resolved after the read
  SetPropText(a, "Lines", "('Dialog' 'Page 1' '')");
  SetPropText(a, "OnPage", "PageChanged");
  SetPropText(b, "Extra", "3");
  SetPropText(b, "Buddy", "Form1");

  for (TFormFormat format : {TFormFormat::Binary, TFormFormat::Text}) {
    std::string bytes = WriteComponent(&form, format);
    std::unique_ptr<TComponent> copy(ReadComponent(bytes));
    ASSERT_EQ(copy->ClassName(), "TThing");
    ASSERT_EQ(copy->GetComponentCount(), 2);
    TComponent* a2 = copy->FindComponent("A");
    TComponent* b2 = copy->FindComponent("B");
    ASSERT_TRUE(a2 && b2);
    for (const char* p : {"Count", "Flag", "Shade", "Shades", "Caption", "Sub.Num", "Sub.Text",
                          "Buddy", "Lines", "OnPage", "Tag"})
      EXPECT_EQ(GetPropText(a2, p), GetPropText(a, p)) << p;
    EXPECT_EQ(GetPropText(b2, "Extra"), "3");
    EXPECT_EQ(As<TThing>(b2)->Buddy, copy.get());
    // The event is bound to the new root's method.
    As<TThing>(a2)->OnPage(a2, 4);
    EXPECT_EQ(As<TThing>(copy.get())->LastPosition, 4);
    // Written again, the copy gives the same bytes.
    EXPECT_EQ(WriteComponent(copy.get(), format), bytes);
  }
}

TEST_F(FormFiles, WriterLeavesOutDefaultsAndEmptyValues) {
  TThing form(nullptr);
  form.SetName("Form1");
  std::string text = WriteComponent(&form, TFormFormat::Text);
  // Count has no default and is always written; Flag and Shade hold their defaults; the
  // empty caption, nil reference, empty list and unset events are left out.
  EXPECT_EQ(text, "object Form1: TThing\n  Count = 2\n  Small = 0\nend\n");
  form.Flag = false;
  form.Caption = std::string(256, 'x');
  std::string bin = WriteComponent(&form, TFormFormat::Binary);
  EXPECT_NE(bin.find("\x04"
                     "Flag\x08"),
            std::string::npos);
  EXPECT_NE(bin.find("\x07"
                     "Caption\x0C\x00\x01\x00\x00",
                     0, 13),
            std::string::npos);
}

// A property name's length byte follows the previous value; past 20 (the highest value type)
// it must still be read as a name, not refused as an unknown type.
TEST_F(FormFiles, LongPropertyNamesConvertBothWays) {
  std::string text =
      "object F: TForm\n"
      "  AVeryLongDottedName.WithMoreThanTwenty = 1\n"
      "  Short = 2\n"
      "end\n";
  std::string binary = ObjectTextToBinary(text);
  EXPECT_EQ(ObjectBinaryToText(binary), text);
}

TEST_F(FormFiles, ReadingMarksComponentsAndCallsLoadedOnceAtTheEnd) {
  const char* text = R"(object Root: TProbe
  Value = 1
  object P1: TProbe
    Value = 2
    Peer = P2
    Extra = 7
    Blob = {
      0102FF
    }
  end
  object P2: TProbe
  end
end
)";
  std::unique_ptr<TComponent> root(ReadComponent(text));
  auto* p1 = As<TProbe>(root->FindComponent("P1"));
  EXPECT_TRUE(As<TProbe>(root.get())->ReadingWhenSet);
  EXPECT_TRUE(p1->ReadingWhenSet);
  EXPECT_EQ(p1->LoadedCalls, 1);
  EXPECT_EQ(p1->PeerAtLoaded, root->FindComponent("P2"));  // references resolved before Loaded
  EXPECT_EQ(p1->Extra, 7);
  EXPECT_EQ(p1->Blob, std::string("\x01\x02\xFF", 3));
  EXPECT_FALSE(p1->IsReading() || p1->IsLoading());
  // Stored values come after the published ones, in the order defined.
  EXPECT_THAT(WriteComponent(root.get(), TFormFormat::Text),
              HasSubstr("    Peer = P2\n    Extra = 7\n    Blob = {\n      0102FF\n    }\n"));
}

TEST_F(FormFiles, FailedReadsNameTheirPlaceAndLeaveNothingBehind) {
  EXPECT_EQ(ReadError([] {
              TReader reader(std::string_view("TPF1\x06TProbe\x00\x00\x00", 13));
              return reader.ReadRootComponent();
            }),
            "Error reading form at offset 0: Invalid stream format: the signature TPF0 is missing");
  EXPECT_EQ(ReadError([] { return ReadComponent("object X: TNoSuchClass\nend\n"); }),
            "Error reading X at line 1:1: Class TNoSuchClass not found");
  EXPECT_EQ(
      ReadError([] {
        return ReadComponent("object R: TProbe\n  object A: TProbe\n    Nope = 1\n  end\nend\n");
      }),
      "Error reading R.A.Nope at line 3:5: Property Nope does not exist");
  EXPECT_THAT(
      ReadError([] { return ReadComponent("object R: TProbe\n  Value = 'x'\nend\n"); }),
      HasSubstr("Error reading R.Value at line 2:3: Invalid value for property TProbe.Value"));
  EXPECT_EQ(ReadError([] { return ReadComponent("object R: TProbe\n  Peer = Ghost\nend\n"); }),
            "Error reading R.Peer at line 2:3: Component 'Ghost' not found");
  // Two components of one name.
  EXPECT_THAT(ReadError([] {
                return ReadComponent(
                    "object R: TProbe\n object A: TProbe\n end\n object A: TProbe\n end\nend\n");
              }),
              HasSubstr("A component named A already exists"));
}

TEST_F(FormFiles, EveryTruncationOfAValidFormFails) {
  TProbe root(nullptr);
  root.SetName("Root");
  auto* child = new TProbe(&root);
  child->SetName("Child");
  child->SetValue(300);
  child->Blob = "abc";
  child->FPeer = &root;
  std::string bytes = WriteComponent(&root);
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::string_view cut(bytes.data(), n);
    EXPECT_THROW(delete ReadComponent(cut), EReadError) << n;
    EXPECT_EQ(TProbe::Live, 2) << "bytes " << n;  // only the original two
  }
  delete ReadComponent(bytes);
}

// One file holds one form: whatever follows it is damage in either format, never dropped.
TEST_F(FormFiles, BytesAfterTheFormAreRefusedInBothFormats) {
  TProbe root(nullptr);
  root.SetName("Root");
  auto* child = new TProbe(&root);
  child->SetName("Child");
  child->SetValue(7);
  const std::string bytes = WriteComponent(&root);
  const std::string trailing = bytes + std::string("\x00\x07", 2);
  const std::string want =
      "Error reading Root at offset " + std::to_string(bytes.size()) + ": 2 bytes after the end";
  EXPECT_THAT(ReadError([&] { return ReadComponent(trailing); }), HasSubstr(want));
  EXPECT_THAT(ReadError([&] {
                TMemoryStream stream(trailing);
                return ReadComponent(stream);
              }),
              HasSubstr(want));
  const std::string file = ::testing::TempDir() + "zelvar_trailing.dfm";
  {
    TFileStream out(file, fmCreate);
    out.WriteBuffer(trailing);
  }
  EXPECT_THAT(ReadError([&] { return ReadComponentFile(file); }), HasSubstr(want));
  std::remove(file.c_str());
  EXPECT_THAT(MessageOf<EReadError>([&] { ObjectBinaryToText(trailing); }),
              HasSubstr("at offset " + std::to_string(bytes.size()) + ": 2 bytes after the end"));
  // The text reader refuses a token after the form alike.
  EXPECT_THAT(
      ReadError([&] { return ReadComponent(WriteComponent(&root, TFormFormat::Text) + "end\n"); }),
      HasSubstr("End of file expected"));

  // A reader of its own may take several forms from one stream, each leaving it after itself.
  TMemoryStream two(bytes + bytes);
  for (size_t n = 1; n <= 2; ++n) {
    TReader reader(two);
    delete reader.ReadRootComponent();
  }
  EXPECT_EQ(two.Position(), static_cast<int64_t>(2 * bytes.size()));
}

TEST_F(FormFiles, HostileLengthsCodesAndNestingAreRefused) {
  auto form = [](std::string_view props) {
    std::string s("TPF0\x06TProbe\x01R", 13);
    s.append(props);
    s.append(std::string(2, '\0'));
    return s;
  };
  // A string and a binary block claiming 4 GiB.
  EXPECT_THAT(ReadError([&] {
                return ReadComponent(
                    form(std::string("\x04"
                                     "Blob"
                                     "\x0A\xFF\xFF\xFF\xFF",
                                     10)));
              }),
              HasSubstr("Unexpected end of stream"));
  EXPECT_THAT(ReadError([&] {
                return ReadComponent(form(std::string("\x05Value\x0C\xFF\xFF\xFF\xFF", 10)));
              }),
              HasSubstr("Unexpected end of stream"));
  // Codes above 0x14 differ between writers.
  EXPECT_EQ(ReadError([&] { return ReadComponent(form(std::string("\x05Value\x15", 7))); }),
            "Error reading R.Value at offset 19: Unknown value type $15");
  // Deep lists and deep components.
  std::string deep =
      "object R: TProbe\n  Value = " + std::string(1000, '(') + std::string(1000, ')') + "\nend\n";
  EXPECT_THROW(delete ReadComponent(deep), EReadError);
  std::string nested;
  for (int i = 0; i < 1000; ++i) nested += "object A" + std::to_string(i) + ": TProbe\n";
  for (int i = 0; i < 1000; ++i) nested += "end\n";
  EXPECT_THROW(delete ReadComponent(nested), EReadError);
  // A name longer than 255 bytes cannot be written.
  TProbe root(nullptr);
  root.SetName(std::string(300, 'N'));
  EXPECT_THROW(WriteComponent(&root), EWriteError);
}

TEST_F(FormFiles, EventsBindToGenericHandlersWhenNoMethodHasTheirName) {
  const char* text = "object Form1: TThing\n  OnAsk = Decide\n  OnPage = PageChanged\nend\n";
  std::vector<std::string> calls;
  TFormReadOptions options;
  options.FindHandler = [&](const std::string& name) -> TGenericHandler {
    if (name != "Decide") return {};
    return [&calls](TEventCall& call) {
      calls.push_back("Decide");
      ASSERT_EQ(call.Args.size(), 2u);
      int32_t* page = std::get<int32_t*>(call.Args[1].Value);
      EXPECT_TRUE(call.Args[1].IsVar);
      *page = 3;  // a var parameter: the caller sees it
      call.Result = false;
    };
  };
  std::unique_ptr<TComponent> root(ReadComponent(text, options));
  auto* t = As<TThing>(root.get());
  int32_t page = 1;
  EXPECT_FALSE(t->OnAsk(t, page));
  EXPECT_EQ(page, 3);
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_EQ(t->OnAsk.MethodName(), "Decide");
  EXPECT_EQ(t->OnPage.MethodName(), "PageChanged");  // a published method still wins
  EXPECT_THROW(delete ReadComponent("object F: TThing\n  OnAsk = Nobody\nend\n", options),
               EReadError);
}

TEST_F(FormFiles, EventsBindToTheProgramsHandlersByName) {
  const char* text = "object Form1: TThing\n  OnAsk = Decide\n  OnPage = PageChanged\nend\n";
  int32_t asked = 0;
  bool pageHandlerRan = false;
  std::unique_ptr<TComponent> root(
      ReadComponent(text, TFormHandlers{{"Decide",
                                         [&](TThing*, int32_t& page) {
                                           asked = page;
                                           page = 3;
                                           return false;
                                         }},
                                        {"PageChanged", [&] { pageHandlerRan = true; }}}));
  auto* t = As<TThing>(root.get());
  int32_t page = 1;
  EXPECT_FALSE(t->OnAsk(t, page));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(page, 3);
  // The root's own published method wins over a handler of the same name.
  t->OnPage(t, 5);
  EXPECT_EQ(t->LastPosition, 5);
  EXPECT_FALSE(pageHandlerRan);
  // The names stay, for writing the form again.
  EXPECT_THAT(ObjectBinaryToText(WriteComponent(t)), HasSubstr("OnAsk = Decide"));
}

TEST_F(FormFiles, AHandlerThatDoesNotFitOrANameNotGivenFailsTheRead) {
  TFormHandlers handlers{{"Decide", [](TObject*, bool&) { return true; }}, {"Other", [] {}}};
  EXPECT_EQ(ReadError([&] {
              return ReadComponent("object Form1: TThing\n  OnAsk = Decide\nend\n", handlers);
            }),
            "Error reading Form1.OnAsk at line 2:3: Handler 'Decide' does not fit "
            "TThing.OnAsk: parameter 2 is bool&, the event passes int32_t&");
  EXPECT_EQ(ReadError([&] {
              return ReadComponent("object Form1: TThing\n  OnAsk = Decidd\nend\n", handlers);
            }),
            "Error reading Form1.OnAsk at line 2:3: Method 'Decidd' not found for "
            "property TThing.OnAsk (handlers given: Decide, Other)");
}

TEST_F(FormFiles, UnregisteredRootsNeedAFactory) {
  const char* text = "object Form1: TForm1\n  Value = 5\nend\n";
  EXPECT_THROW(delete ReadComponent(text), EReadError);
  TFormReadOptions options;
  options.CreateRoot = [](const std::string& cls, TComponent* owner) -> TComponent* {
    return cls == "TForm1" ? new TProbe(owner) : nullptr;
  };
  std::unique_ptr<TComponent> root(ReadComponent(text, options));
  EXPECT_EQ(As<TProbe>(root.get())->FValue, 5);
}

}  // namespace
}  // namespace zelvar::test
