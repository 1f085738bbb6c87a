#include "app/relaunch_plan.h"

#include <gtest/gtest.h>

#include "common/path_join.h"

namespace somv {
namespace {

const std::u16string kTemp = u"C:\\Users\\op\\AppData\\Local\\Temp\\";

TEST(PlanTempCopies, CopiesProgramSettingsAndLibraryIntoTheTempDirectoryInThatOrder) {
  const auto plan = PlanTempCopies(kTemp, u"D:\\tool\\ZELV4POD.EXE", u"E:\\cwd\\ZELV4PO.INI",
                                   u"E:\\cwd\\ZELV4POD.DLL", kBuild64);
  ASSERT_TRUE(plan.has_value());
  EXPECT_EQ((*plan)[0].source, u"D:\\tool\\ZELV4POD.EXE");
  EXPECT_EQ((*plan)[0].target, kTemp + u"ZELV4POD.EXE");
  EXPECT_EQ((*plan)[1].source, u"E:\\cwd\\ZELV4PO.INI");
  EXPECT_EQ((*plan)[1].target, kTemp + u"ZELV4PO.INI");
  EXPECT_EQ((*plan)[2].source, u"E:\\cwd\\ZELV4POD.DLL");
  EXPECT_EQ((*plan)[2].target, kTemp + u"ZELV4POD.DLL");
}

TEST(PlanTempCopies, TheProgramIsCopiedUnderItsBuildNameWhateverItWasCalled) {
  const auto plan = PlanTempCopies(kTemp, u"D:\\renamed.exe", u"a", u"b", kBuild32);
  ASSERT_TRUE(plan.has_value());
  EXPECT_EQ((*plan)[0].target, kTemp + u"ZELV4POK.EXE");
  EXPECT_EQ((*plan)[2].target, kTemp + u"ZELV4POK.DLL");
}

struct RefusalCase {
  const char* what;
  std::u16string temp;
  std::u16string program;
  std::u16string settings;
  std::u16string library;
};

// The longest target is the program or library name: 12 units.
const std::u16string kTempJustFitting = std::u16string(kPathCapacity - 1 - 12 - 1, u'x') + u"\\";
const std::u16string kTempOneTooLong = std::u16string(kPathCapacity - 1 - 12, u'x') + u"\\";

TEST(PlanTempCopies, RefusesWhenAFileCannotBeNamed) {
  const RefusalCase cases[] = {
      {"program target too long", kTempOneTooLong, u"p", u"s", u"l"},
      {"no program path", kTemp, u"", u"s", u"l"},
      {"no settings source", kTemp, u"p", u"", u"l"},
      {"no library source", kTemp, u"p", u"s", u""},
  };
  for (const RefusalCase& c : cases) {
    EXPECT_FALSE(PlanTempCopies(c.temp, c.program, c.settings, c.library, kBuild64)) << c.what;
  }
  const auto fitting = PlanTempCopies(kTempJustFitting, u"p", u"s", u"l", kBuild64);
  ASSERT_TRUE(fitting.has_value());
  EXPECT_EQ((*fitting)[0].target.size(), kPathCapacity - 1);
}

TEST(QuotedCommandLine, QuotesThePathSoItsSpacesDoNotSplitIt) {
  EXPECT_EQ(QuotedCommandLine(u"C:\\my temp\\ZELV4POD.EXE"), u"\"C:\\my temp\\ZELV4POD.EXE\"");
}

using namespace std::string_literals;

TEST(DeletionPendingAtRestart, OnlyWhenTheListEndsWithThePathDeleted) {
  const std::u16string copy = u"C:\\Temp\\ZELV4POD.EXE";
  const struct {
    const char* what;
    std::u16string operations;
    bool pending;
  } cases[] = {
      {"no list", u"", false},
      {"deleted, as the system writes it", u"\\??\\C:\\Temp\\ZELV4POD.EXE\0\0\0"s, true},
      {"deleted, the drive in lower case", u"\\??\\c:\\temp\\zelv4pod.exe\0\0\0"s, true},
      {"after another file's rename", u"\\??\\C:\\a\0!\\??\\C:\\b\0\\??\\C:\\Temp\\ZELV4POD.EXE\0\0\0"s, true},
      {"another file deleted", u"\\??\\C:\\Temp\\ZELV4PO.INI\0\0\0"s, false},
      {"renamed away, not deleted", u"\\??\\C:\\Temp\\ZELV4POD.EXE\0\\??\\C:\\x\0\0"s, false},
      {"deleted, then replaced", u"\\??\\C:\\Temp\\ZELV4POD.EXE\0\0\\??\\C:\\y\0!\\??\\C:\\Temp\\ZELV4POD.EXE\0\0"s, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DeletionPendingAtRestart(c.operations, copy), c.pending) << c.what;
  }
  EXPECT_TRUE(DeletionPendingAtRestart(u"\\??\\UNC\\srv\\t\\f\0\0\0"s, u"\\\\srv\\t\\f")) << "a share";
}

const std::u16string kProfile = u"C:\\Users\\op";

TEST(IsBelowFolder, OnlyAFolderBelowTheProfileOnADriveLetter) {
  const struct {
    std::u16string path;
    bool below;
  } cases[] = {
      {u"C:\\Users\\op\\AppData\\Local\\Temp\\", true},
      {u"c:\\users\\OP\\AppData\\Local\\Temp\\2\\", true},
      {u"C:\\Users\\op\\", false},
      {u"C:\\Users\\op2\\Temp\\", false},
      {u"C:\\Program Files\\Somnivar\\", false},
      {u"C:\\Users\\op\\..\\admin\\Temp\\", false},
      {u"C:\\Users\\op\\\\Temp\\", false},
      {u"\\\\server\\deploy\\", false},
      {u"\\\\?\\C:\\Users\\op\\Temp\\", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsBelowFolder(c.path, kProfile), c.below) << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(IsBelowFolder(c.path, kProfile + u"\\"), c.below);
  }
  EXPECT_FALSE(IsBelowFolder(u"C:\\x\\y\\", u"")) << "no profile known";
  EXPECT_FALSE(IsBelowFolder(u"\\\\server\\deploy\\t\\", u"\\\\server\\deploy"));
}

TEST(ExpandedProfilePath, TakesOnlyTheSystemsTwoVariablesFromTheSystemFolder) {
  const std::u16string root = u"D:\\Windows";
  EXPECT_EQ(ExpandedProfilePath(u"C:\\Users\\op", root), u"C:\\Users\\op");
  EXPECT_EQ(ExpandedProfilePath(u"%SystemDrive%\\Users\\op", root), u"D:\\Users\\op");
  EXPECT_EQ(ExpandedProfilePath(u"%systemroot%\\profiles\\op", root), u"D:\\Windows\\profiles\\op");
  EXPECT_EQ(ExpandedProfilePath(u"%USERPROFILE%\\x", root), u"");
  EXPECT_EQ(ExpandedProfilePath(u"%SystemDrive", root), u"");
  EXPECT_EQ(ExpandedProfilePath(u"%SystemDrive%\\Users\\op", u""), u"");
}

TEST(SidText, NamesTheProfileListKey) {
  const unsigned char user[] = {1, 5, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 0xE8, 3, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                                0, 0, 0, 0, 0xE9, 3, 0, 0};
  EXPECT_EQ(SidText(user, sizeof(user)), u"S-1-5-21-1000-4294967295-0-1001");
  EXPECT_EQ(SidText(user, sizeof(user) - 1), u"") << "shorter than its count says";
  const unsigned char revision2[] = {2, 0, 0, 0, 0, 0, 0, 5};
  EXPECT_EQ(SidText(revision2, sizeof(revision2)), u"");
}

}  // namespace
}  // namespace somv
