// The examples stay what their builder script makes, the binary form matches the text one,
// and the demo's tour runs through them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/graphics/Codecs.h"
#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using zelvar::TImageData;
using zelvar::TPoint;
using zelvar::test::RunZelvar;
using zelvar::test::Slurp;
using zelvar::test::TRun;

const fs::path kExamples = fs::path(ZELVAR_TEST_DATA) / ".." / ".." / "examples";

class Examples : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) / ("examples-" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir / "examples");
    for (const auto& f : fs::directory_iterator(kExamples))
      if (f.is_regular_file()) fs::copy_file(f.path(), Dir / "examples" / f.path().filename());
  }
  void TearDown() override { fs::remove_all(Dir); }
  fs::path Dir;
};

TEST_F(Examples, TheBuilderScriptMakesTheCommittedForms) {
  for (const char* f : {"setup.txt", "setup.dfm", "options.txt"}) fs::remove(Dir / "examples" / f);
  TRun r = RunZelvar("run --script " + (Dir / "examples" / "make-examples.zs").string(), Dir);
  ASSERT_EQ(r.Status, 0) << r.Err;
  for (const char* f : {"setup.txt", "setup.dfm", "options.txt"})
    EXPECT_EQ(Slurp(Dir / "examples" / f), Slurp(kExamples / f))
        << f << " differs from what make-examples.zs makes: run it again";
  // The binary twin is the text form converted.
  r = RunZelvar("convert " + (kExamples / "setup.txt").string() + " " + (Dir / "c.dfm").string(),
                Dir);
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(Slurp(Dir / "c.dfm"), Slurp(kExamples / "setup.dfm"));
}

TEST_F(Examples, TheTourWalksBothExamples) {
  fs::create_directories(Dir / "out" / "demo");
  // Not Dir itself: the captured output goes to Dir/out, which here is the pictures' folder.
  TRun r = RunZelvar("run --script " + (Dir / "examples" / "tour.zs").string(), Dir / "run");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("result = mrOk"), std::string::npos);
  int pictures = 0;
  for (const auto& f : fs::directory_iterator(Dir / "out" / "demo"))
    pictures += f.path().extension() == ".png";
  EXPECT_EQ(pictures, 13);
}

// Where the picture shows in the shot with each of its pixels a zoom-by-zoom square of that
// pixel's colour, if it does: a blurred picture is not found.
std::optional<TPoint> FindPicture(const TImageData& shot, const TImageData& picture, int zoom) {
  auto at = [&](int x, int y) {
    for (int py = 0; py < picture.Height; ++py)
      for (int px = 0; px < picture.Width; ++px)
        for (int dy = 0; dy < zoom; ++dy)
          for (int dx = 0; dx < zoom; ++dx)
            if (shot.At(x + px * zoom + dx, y + py * zoom + dy) != picture.At(px, py)) return false;
    return true;
  };
  for (int y = 0; y + picture.Height * zoom <= shot.Height; ++y)
    for (int x = 0; x + picture.Width * zoom <= shot.Width; ++x)
      if (shot.At(x, y) == picture.At(0, 0) && at(x, y)) return TPoint{x, y};
  return std::nullopt;
}

TEST_F(Examples, TheSetupWizardIsSharpOnAFineScreen) {
  const fs::path form = Dir / "examples" / "setup.txt";
  auto shot = [&](const char* dpi, int page) {
    const fs::path png = Dir / ("shot-" + std::string(dpi) + "-" + std::to_string(page) + ".png");
    TRun r = RunZelvar(std::string("shot ") + form.string() + " " + png.string() + " --page " +
                           std::to_string(page),
                       Dir, "", std::string("ZELVAR_DPI=") + dpi);
    EXPECT_EQ(r.Status, 0) << r.Err;
    return zelvar::LoadImageFile(png.string());
  };
  const TImageData header = zelvar::LoadImageFile((kExamples / "setup-header.png").string());
  const TImageData mark = zelvar::LoadImageFile((kExamples / "setup-watermark.png").string());
  const TImageData coarse = shot("96", 1), fine = shot("192", 1);
  ASSERT_EQ(fine.Width, 2 * coarse.Width);
  ASSERT_EQ(fine.Height, 2 * coarse.Height);
  // The banner's picture at the right, the watermark down the left: each pixel a square of
  // four, at twice the place.
  for (const TImageData* picture : {&header, &mark}) {
    std::optional<TPoint> small = FindPicture(coarse, *picture, 1);
    std::optional<TPoint> large = FindPicture(fine, *picture, 2);
    ASSERT_TRUE(small && large);
    EXPECT_EQ(large->X, 2 * small->X);
    EXPECT_NEAR(large->Y, 2 * small->Y, 2);  // the banner's two separator lines stay two
  }
  EXPECT_EQ(FindPicture(coarse, mark, 1)->X, 0);
  // The step list grows with the form, and the form is written back as it was designed: as
  // the same script writes it on a screen of 96.
  const fs::path script = Dir / "fine.zs";
  std::ofstream(script) << "load examples/setup.txt\n"
                           "expect Steps.ItemHeight 40\n"
                           "expect Steps.Width 300\n"
                           "save again.txt text\n";
  TRun r = RunZelvar("run --script " + script.string(), Dir, "", "ZELVAR_DPI=192");
  ASSERT_EQ(r.Status, 0) << r.Err << r.Out;
  const std::string fineText = Slurp(Dir / "again.txt");
  std::ofstream(script) << "load examples/setup.txt\n"
                           "save again.txt text\n";
  r = RunZelvar("run --script " + script.string(), Dir, "", "ZELVAR_DPI=96");
  ASSERT_EQ(r.Status, 0) << r.Err << r.Out;
  // Tab positions aside: the bar's buttons take theirs when the bar is laid out again, which
  // a scaled form does after its controls are read.
  auto sizes = [](const std::string& text) {
    std::string out, line;
    for (std::istringstream in(text); std::getline(in, line);)
      if (line.find("TabOrder = ") == std::string::npos) out += line + "\n";
    return out;
  };
  EXPECT_TRUE(sizes(fineText) == sizes(Slurp(Dir / "again.txt")));
}

}  // namespace
