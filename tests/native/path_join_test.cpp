#include "common/path_join.h"

#include <gtest/gtest.h>

#include "settings/launch_path.h"

namespace somv {
namespace {

TEST(JoinWithinCapacity, AppendsTheNameDirectly) {
  EXPECT_EQ(JoinWithinCapacity(u"C:\\Tools\\", u"ZELV4PO.INI"), u"C:\\Tools\\ZELV4PO.INI");
  EXPECT_EQ(JoinWithinCapacity(u"", u"ZELV4PO.INI"), u"ZELV4PO.INI");
}

TEST(JoinWithinCapacity, FitsExactlyWithTheTerminatorAndNoFurther) {
  const std::u16string name = u"ZELV4PO.INI";
  const std::u16string fits(kPathCapacity - 1 - name.size(), u'd');
  const std::u16string oneOver = fits + u'd';

  EXPECT_EQ(JoinWithinCapacity(fits, name).size(), kPathCapacity - 1);
  EXPECT_EQ(JoinWithinCapacity(oneOver, name), u"");
  EXPECT_EQ(JoinWithinCapacity(u"C:\\", name, 3 + name.size() + 1), u"C:\\ZELV4PO.INI");
  EXPECT_EQ(JoinWithinCapacity(u"C:\\", name, 3 + name.size()), u"");
}

TEST(JoinWithinCapacity, NamesLongerThanTheCapacityGiveNothing) {
  EXPECT_EQ(JoinWithinCapacity(u"C:\\", std::u16string(1000, u'n')), u"");
}

TEST(WithTrailingBackslash, AddsOneOnlyWhereItLacksOneAndWithinCapacity) {
  EXPECT_EQ(WithTrailingBackslash(u"C:\\Tools"), u"C:\\Tools\\");
  EXPECT_EQ(WithTrailingBackslash(u"C:\\"), u"C:\\");
  EXPECT_EQ(WithTrailingBackslash(u""), u"");
  EXPECT_EQ(WithTrailingBackslash(u"C:\\x", 6), u"C:\\x\\");
  EXPECT_EQ(WithTrailingBackslash(u"C:\\xy", 6), u"");
  EXPECT_EQ(WithTrailingBackslash(u"C:\\x\\", 6), u"C:\\x\\");
  EXPECT_EQ(WithTrailingBackslash(u"C:\\xy\\", 6), u"");
}

TEST(ProgramDirectory, CutsOffAsManyUnitsAsTheProgramNameHas) {
  struct Case {
    std::u16string path;
    std::u16string expected;
  } const cases[] = {
      {u"C:\\Users\\me\\AppData\\Local\\Temp\\ZELV4POD.EXE", u"C:\\Users\\me\\AppData\\Local\\Temp\\"},
      {u"C:\\x\\zelv4pod.exe", u"C:\\x\\"},
      // A program renamed to a longer name keeps part of its name.
      {u"C:\\x\\ZELV4POD-1.EXE", u"C:\\x\\ZE"},
      {u"ZELV4POD.EXE", u""},
      {u"SHORT.EXE", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramDirectory(c.path, u"ZELV4POD.EXE"), c.expected);
  }
}

}  // namespace
}  // namespace somv
