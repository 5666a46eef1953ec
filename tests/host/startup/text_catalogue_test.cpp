#include "startup/text_catalogue.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/sim/sim_file_system.h"
#include "test_bytes.h"

namespace installer {
namespace {

using testing::Le;
using testing::Repeat;

const std::u16string kSep = Repeat(u'=', 50) + u"\r\n";
const std::u16string kSixSections = u"Welcome\r\nline two\r\n" + kSep + u"Folder\r\n" + kSep +
                                    u"Wait\r\n" + kSep + u"Done\r\n" + kSep + u"Cancelled\r\n" +
                                    kSep + u"Failed\r\n" + kSep;
const std::u16string kEnglishTail =
    u"Label Printer Driver installation\r\n" + kSep +
    u"Label Printer Printer\r\nLabel Printer Driver\r\nLabel USB Printer Monitor\r\n"
    u"Label USB Printer Monitor:\r\nLabel Printer Driver V 1.0\r\nENGLISH.DLL\r\n"
    u"Label Printer Driver--Select Language";

using Names = std::array<std::wstring, 7>;

Names AsArray(const ProductNames& n) {
  return {n.productTitle, n.printerName,       n.driverName, n.monitorName,
          n.portName,     n.installFolderName, n.languageDll};
}

const PageTexts kSixPages = {L"Welcome\nline two\n", L"Folder\n", L"Wait\n", L"Done\n",
                             L"Cancelled\n",         L"Failed\n"};
const Names kEnglishNames = {L"Label Printer Driver installation",
                             L"Label Printer Printer",
                             L"Label Printer Driver",
                             L"Label USB Printer Monitor",
                             L"Label USB Printer Monitor:",
                             L"Label Printer Driver V 1.0",
                             L"ENGLISH.DLL"};

struct CatalogueCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  PageTexts pages;
  Names names;
};

std::vector<CatalogueCase> Cases() {
  const std::wstring w255(255, L'x');
  return {
      {"eight tail lines fill seven fields", Le(kSixSections + kEnglishTail), kSixPages,
       kEnglishNames},
      {"empty line before the names does not shift them", Le(kSixSections + u"\r\n" + kEnglishTail),
       kSixPages, kEnglishNames},
      {"19 equals signs are text, in a section and in the tail",
       Le(Repeat(u'=', 19) + u"\r\n" + kSep + kSep + kSep + kSep + kSep + kSep + Repeat(u'=', 19) +
          u"\r\nPrinter"),
       {std::wstring(19, L'=') + L"\n", L"", L"", L"", L"", L""},
       {std::wstring(19, L'='), L"Printer", L"", L"", L"", L"", L""}},
      {"three separators only: pages 0 to 3, no names, no defaults",
       Le(u"A\r\n" + kSep + u"B\r\n" + kSep + u"C\r\n" + kSep + u"D\r\nE"),
       {L"A\n", L"B\n", L"C\n", L"D\nE", L"", L""},
       {}},
      {"a bare LF stays, also in a name",
       Le(u"A\n" + kSep + kSep + kSep + kSep + kSep + kSep + u"Title\nPrinter\r\n"),
       {L"A\n", L"", L"", L"", L"", L""},
       {L"Title\n", L"Printer", L"", L"", L"", L"", L""}},
      {"without a byte-order mark the first character is lost",
       Le(u"Welcome\r\n" + kSep + kSep + kSep + kSep + kSep + kSep + u"Title", false),
       {L"elcome\n", L"", L"", L"", L"", L""},
       {L"Title", L"", L"", L"", L"", L"", L""}},
      {"a separator of 20 inside a longer line counts",
       Le(u"A\r\nx" + Repeat(u'=', 20) + u"y\r\nB\r\n"),
       {L"A\n", L"B\n", L"", L"", L"", L""},
       {}},
      {"a line of 300 units comes in pieces of 255 and 45",
       Le(kSixSections + Repeat(u'x', 300) + u"\r\nPrinter"),
       kSixPages,
       {w255, std::wstring(45, L'x'), L"Printer", L"", L"", L"", L""}},
      {"a section is cut at 511 characters",
       Le(Repeat(u'a', 253) + u"\r\n" + Repeat(u'b', 253) + u"\r\n" + Repeat(u'c', 253) + u"\r\n" +
          kSep + u"next\r\n"),
       {std::wstring(253, L'a') + L"\n" + std::wstring(253, L'b') + L"\n" + L"ccc", L"next\n", L"",
        L"", L"", L""},
       {}},
  };
}

TEST(LoadTextCatalogue, ReadsSectionsAndTail) {
  for (const auto& c : Cases()) {
    SCOPED_TRACE(c.name);
    sim::SimFileSystem files;
    ASSERT_TRUE(files.Put(L"C:\\Docs\\InstallConfig_en.txt", c.bytes));
    PageTexts pages;
    ProductNames names;
    EXPECT_TRUE(LoadTextCatalogue(files, L"C:\\Docs\\InstallConfig_en.txt", pages, names));
    EXPECT_EQ(pages, c.pages);
    EXPECT_EQ(AsArray(names), c.names);
  }
}

TEST(LoadTextCatalogue, OddByteCountDropsTheLastByte) {
  sim::SimFileSystem files;
  // FF FE, "AB" CR LF, then one stray byte.
  ASSERT_TRUE(files.Put(
      L"C:\\c.txt", std::vector<std::uint8_t>{0xFF, 0xFE, 'A', 0, 'B', 0, '\r', 0, '\n', 0, 'C'}));
  PageTexts pages;
  ProductNames names;
  EXPECT_TRUE(LoadTextCatalogue(files, L"C:\\c.txt", pages, names));
  EXPECT_EQ(pages[0], L"AB\n");
}

TEST(LoadTextCatalogue, TinyFilesOpenButYieldNothing) {
  for (const auto& bytes : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0xFF},
                            std::vector<std::uint8_t>{0xFF, 0xFE}}) {
    sim::SimFileSystem files;
    ASSERT_TRUE(files.Put(L"C:\\c.txt", bytes));
    PageTexts pages;
    ProductNames names;
    EXPECT_TRUE(LoadTextCatalogue(files, L"C:\\c.txt", pages, names));
    EXPECT_EQ(pages, PageTexts{});
    EXPECT_EQ(AsArray(names), Names{});
  }
}

TEST(LoadTextCatalogue, MissingFileGivesTheFourDefaults) {
  sim::SimFileSystem files;
  PageTexts pages;
  ProductNames names;
  names.productTitle = L"stale";
  EXPECT_FALSE(LoadTextCatalogue(files, L"C:\\Docs\\InstallConfig_rs.txt", pages, names));
  EXPECT_EQ(pages, PageTexts{});
  EXPECT_EQ(AsArray(names), (Names{L"", L"USB Printer", L"USB Printer Driver",
                                   L"USB Printer Monitor", L"USB PRINTER PORT:", L"", L""}));
}

TEST(ReadLastLine, GivesTheCaptionCandidate) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::wstring caption;
  };
  const std::vector<Case> cases = {
      {"last line without a line end", Le(u"one\r\ntwo\r\nCaption"), L"Caption"},
      {"a final CR LF becomes LF", Le(u"one\r\nCaption\r\n"), L"Caption\n"},
      {"a single line keeps the byte-order mark", Le(u"Caption"),
       L"\xFEFF"
       L"Caption"},
      {"a long last line gives its last piece", Le(u"one\r\n" + Repeat(u'x', 260)), L"xxxxx"},
      {"an empty file gives nothing", {}, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimFileSystem files;
    ASSERT_TRUE(files.Put(L"C:\\c.txt", c.bytes));
    EXPECT_EQ(ReadLastLine(files, L"C:\\c.txt"), c.caption);
  }
  sim::SimFileSystem files;
  EXPECT_EQ(ReadLastLine(files, L"C:\\missing.txt"), L"");
}

}  // namespace
}  // namespace installer
