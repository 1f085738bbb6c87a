#include "selection/selection_rules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <string>
#include <vector>

#include "printers/discovery.h"

namespace somv {
namespace {

using ::testing::ElementsAre;

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(ColumnWidth, ReadsTheLeadingNumberAndFallsBackWhenItIsNotPositive) {
  struct Case {
    std::u16string text;
    int expected;
  };
  const Case cases[] = {
      {u"120", 120},         {u"", 200},           {u" 42px", 42},       {u"\t+7", 7},
      {u"-5", 200},          {u"0", 200},          {u"abc", 200},        {u"px42", 200},
      {u"1", 1},             {u"2147483647", INT_MAX},
      // Beyond int: no number at all, not a wrapped or clamped one.
      {u"2147483648", 200},  {u"99999999999999999999", 200}, {u"-99999999999999999999", 200},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColumnWidthFromText(c.text, kPrinterColumnDefaultWidth), c.expected) << Narrow(c.text);
  }
  EXPECT_EQ(ColumnWidthFromText(u"", kDriverColumnDefaultWidth), 250);
  EXPECT_EQ(ColumnWidthFromText(u"-1", kDriverColumnDefaultWidth), 250);
}

TEST(ColumnWidth, ReadsNegativeNumbersAsTheyStand) {
  EXPECT_EQ(ReadLeadingInt(u"  -17 units"), -17);
  EXPECT_EQ(ReadLeadingInt(u"-2147483648"), INT_MIN);
  EXPECT_EQ(ReadLeadingInt(u"- 5"), 0);
}

TEST(ColumnHeader, KeepsAtMost259Units) {
  EXPECT_EQ(CutColumnHeader(u"Printer"), u"Printer");
  EXPECT_EQ(CutColumnHeader(u""), u"");
  const std::u16string exact(259, u'x');
  EXPECT_EQ(CutColumnHeader(exact), exact);
  std::u16string longer(300, u'y');
  longer[258] = u'z';
  const std::u16string cut = CutColumnHeader(longer);
  EXPECT_EQ(cut.size(), 259u);
  EXPECT_EQ(cut.back(), u'z');
}

TEST(SortComparison, IsOrdinalOverCodeUnitsInTheGivenDirection) {
  struct Case {
    std::u16string first;
    std::u16string second;
    int ascending;
    int expected;
  };
  const Case cases[] = {
      {u"ABC", u"abc", 1, -1}, {u"ABC", u"abc", 0, 1},   {u"abc", u"abc", 1, 0},
      {u"abc", u"abc", 0, 0},  {u"ab", u"abc", 1, -1},   {u"ab", u"abc", 0, 1},
      {u"Z", u"a", 7, -1},     {u"10", u"9", 1, -1},     {u"\uFF21", u"z", 1, 1},
      {u"", u"a", 1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareListTexts(c.first, c.second, c.ascending), c.expected)
        << Narrow(c.first) << " / " << Narrow(c.second) << " ascending " << c.ascending;
  }
}

TEST(SortComparison, ReadsRowsFromTheSnapshotByTheirFormerPosition) {
  const std::vector<std::u16string> snapshot = {u"b", u"a", u"c"};
  EXPECT_EQ(CompareSnapshotRows(snapshot, 0, 1, 1), 1);
  EXPECT_EQ(CompareSnapshotRows(snapshot, 1, 2, 1), -1);
  EXPECT_EQ(CompareSnapshotRows(snapshot, 1, 2, 0), 1);
  // A position the snapshot does not hold reads as an empty text.
  EXPECT_EQ(CompareSnapshotRows(snapshot, 3, 0, 1), -1);
  EXPECT_EQ(CompareSnapshotRows(snapshot, -1, 99, 1), 0);
}

TEST(SortDirection, Alternates) {
  EXPECT_EQ(ToggleSortDirection(0), 1);
  EXPECT_EQ(ToggleSortDirection(1), 0);
  EXPECT_EQ(ToggleSortDirection(-3), 0);
}

// The list as the dialog sorts it: snapshot the clicked column, sort by the
// positions before the sort, then turn the direction round.
class ClickedList {
 public:
  explicit ClickedList(std::vector<PrinterRow> rows) : m_rows(std::move(rows)) {}

  void ClickHeader(int column) {
    std::vector<std::u16string> snapshot;
    for (const PrinterRow& row : m_rows) snapshot.push_back(column == 0 ? row.strPrinterName : row.strDriverName);
    std::vector<std::intptr_t> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::intptr_t a, std::intptr_t b) {
      return CompareSnapshotRows(snapshot, a, b, m_ascending) < 0;
    });
    std::vector<PrinterRow> sorted;
    for (std::intptr_t position : order) sorted.push_back(m_rows[static_cast<std::size_t>(position)]);
    m_rows = std::move(sorted);
    m_ascending = ToggleSortDirection(m_ascending);
  }
  std::vector<std::u16string> Column(int column) const {
    std::vector<std::u16string> texts;
    for (const PrinterRow& row : m_rows) texts.push_back(column == 0 ? row.strPrinterName : row.strDriverName);
    return texts;
  }

 private:
  std::vector<PrinterRow> m_rows;
  int m_ascending = 0;  // as the dialog leaves it once printers were found
};

TEST(HeaderClicks, FirstSortsDescendingWithSmallLettersFirstThenAscending) {
  ClickedList list({{u"Kelva lp", u"d1"}, {u"KELVA LP", u"d2"}, {u"Kelva Lp", u"d3"}});
  list.ClickHeader(0);
  EXPECT_THAT(list.Column(0), ElementsAre(u"Kelva lp", u"Kelva Lp", u"KELVA LP"));
  list.ClickHeader(0);
  EXPECT_THAT(list.Column(0), ElementsAre(u"KELVA LP", u"Kelva Lp", u"Kelva lp"));
  EXPECT_THAT(list.Column(1), ElementsAre(u"d2", u"d3", u"d1"));
}

TEST(HeaderClicks, DirectionAlternatesAcrossColumns) {
  ClickedList list({{u"b", u"Z"}, {u"a", u"X"}, {u"c", u"Y"}});
  list.ClickHeader(0);
  EXPECT_THAT(list.Column(0), ElementsAre(u"c", u"b", u"a"));
  list.ClickHeader(1);
  EXPECT_THAT(list.Column(1), ElementsAre(u"X", u"Y", u"Z"));
  EXPECT_THAT(list.Column(0), ElementsAre(u"a", u"c", u"b"));
}

TEST(SortMarks, ShowTheAppliedDirectionOnTheSortedColumnOnly) {
  EXPECT_EQ(SortMarkOf(0, 0, 0, 3), SortMark::Descending);
  EXPECT_EQ(SortMarkOf(0, 0, 1, 3), SortMark::Ascending);
  EXPECT_EQ(SortMarkOf(1, 0, 1, 3), SortMark::None);
  EXPECT_EQ(SortMarkOf(1, 1, -2, 3), SortMark::Ascending);
  EXPECT_EQ(SortMarkOf(0, 0, 0, 0), SortMark::None);
}

TEST(OpenButton, DoubleClickOpensOnlyOnARowWhileTheButtonIsEnabled) {
  EXPECT_TRUE(DoubleClickOpens(0, true));
  EXPECT_FALSE(DoubleClickOpens(-1, true));
  EXPECT_FALSE(DoubleClickOpens(2, false));
}

TEST(ColumnWidths, ScaleWithTheDisplay) {
  EXPECT_EQ(ScaleToDpi(200, 96), 200);
  EXPECT_EQ(ScaleToDpi(200, 144), 300);
  EXPECT_EQ(ScaleToDpi(250, 120), 313);  // 312.5 rounds up
  EXPECT_EQ(ScaleToDpi(200, 0), 200);
  EXPECT_EQ(ScaleToDpi(0x7fffffff, 192), 0x7fffffff);
}

TEST(OpenButton, IsEnabledExactlyWhileARowIsSelected) {
  EXPECT_FALSE(IsOpenButtonEnabled(-1));
  EXPECT_TRUE(IsOpenButtonEnabled(0));
  EXPECT_TRUE(IsOpenButtonEnabled(65534));
}

TEST(MinimisedIcon, IsCentredWithTheHalvingTruncatedTowardZero) {
  EXPECT_EQ(CentredIconOrigin(100, 32), 34);
  EXPECT_EQ(CentredIconOrigin(101, 32), 35);
  EXPECT_EQ(CentredIconOrigin(32, 32), 0);
  // Smaller than the icon: -31 / 2 is -15, not the floor -16.
  EXPECT_EQ(CentredIconOrigin(0, 32), -15);
}

}  // namespace
}  // namespace somv
