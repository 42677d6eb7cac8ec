#include "import/import_manifest.h"

#include <gtest/gtest.h>

namespace qv::import {
namespace {

TEST(ImportManifest, RoundTripsThroughItsText) {
  ImportManifest manifest;
  manifest.folders = {"News", "(A01) Caf\xc3\xa9"};
  manifest.files["News/Example.url"] = {0, 0xfedcba9876543210ULL};
  manifest.files["(A01) Caf\xc3\xa9/CON_ (2).url"] = {ContentFingerprint("x")};
  std::size_t left_out = 99;
  EXPECT_EQ(ParseManifest(FormatManifest(manifest), &left_out), manifest);
  EXPECT_EQ(left_out, 0u);
  EXPECT_NE(ContentFingerprint("URL=a\r\n"), ContentFingerprint("URL=b\r\n"));
}

TEST(ImportManifest, TakesOnlyNamesInsideTheFolderFromAHandEditedFile) {
  const std::string text =
      "folder\tNews\n"
      "file\t0123456789ABCDEF\tNews/Kept.url\r\n"
      "folder\t..\n"
      "folder\t.hidden\n"
      "folder\tA/B\n"
      "folder\tA\\B\n"
      "folder\tTrailing \n"
      "folder\tNews\textra\n"
      "folder\t\n"
      "file\t0123456789abcdef\t../outside.url\n"
      "file\t0123456789abcdef\tNews/../../x.url\n"
      "file\t0123456789abcdef\tNews/Sub/x.url\n"
      "file\t0123456789abcdef\t/root.url\n"
      "file\t0123456789abcdef\tC:x/y.url\n"
      "file\t0123456789abcdef\tTop.url\n"
      "file\t0123456789abcdef\tNews/ctrl\x01.url\n"
      "file\t0123456789abcdef\tNews/bad\xff.url\n"
      "file\t0123\tNews/short.url\n"
      "file\t-123456789abcdef\tNews/sign.url\n"
      "file\t0123456789abcdeg\tNews/letter.url\n"
      "  file\t0123456789abcdef\tNews/indented.url\n"
      "# a note\n"
      "\n"
      "anything else";
  std::size_t left_out = 0;
  const ImportManifest manifest = ParseManifest(text, &left_out);
  EXPECT_EQ(manifest.folders, std::set<std::string>{"News"});
  ASSERT_EQ(manifest.files.size(), 1u);
  EXPECT_EQ(manifest.files.begin()->first, "News/Kept.url");
  EXPECT_EQ(manifest.files.begin()->second, std::set<std::uint64_t>{0x0123456789abcdefULL});
  EXPECT_EQ(left_out, 20u);
}

}  // namespace
}  // namespace qv::import
