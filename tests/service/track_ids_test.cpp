// Song ids come from the song file's path alone: a restart, a rescan after other files changed
// and another spelling of the library folder keep them, because clients cache them.
#include <gtest/gtest.h>

#include <set>

#include "tests/service/support/service_fixture.h"

namespace service_test {
namespace {

const char* const kKept[] = {"a/Band - One.lrc", "b/Band - Two.lrc", "b/c/Three.lrc"};

TEST(TrackIds, StableAcrossRestartsAndRescans) {
  TempDir dir;
  for (const char* file : kKept) write_file(dir / file, "[00:01.00]kept\n");
  write_file(dir / "a/Gone - Soon.lrc", "[00:01.00]gone\n");
  std::vector<std::uint64_t> before;
  {
    LocalService first({dir.path().string()});
    for (const char* file : kKept) before.push_back(first.id_of(dir / file));
  }
  EXPECT_EQ(std::set<std::uint64_t>(before.begin(), before.end()).size(), std::size(kKept));
  EXPECT_EQ(before.end(), std::find(before.begin(), before.end(), 0u));

  // Songs that sort before them come and go, one of them is edited, the folder is named another way.
  write_file(dir / "a/0 First.lrc", "[00:01.00]new\n");
  write_file(dir / "0/Zero.lrc", "[00:01.00]new\n");
  std::filesystem::remove(dir / "a/Gone - Soon.lrc");
  write_file(dir / "b/Band - Two.lrc", "[00:01.00]edited\n");
  LocalService again({dir.path().string() + "/./b/../"});
  for (std::size_t i = 0; i < std::size(kKept); ++i) {
    EXPECT_EQ(again.id_of(dir / kKept[i]), before[i]) << kKept[i];
    EXPECT_EQ(again.get("/lrc/" + std::to_string(before[i]) + ".lrc").status, 200) << kKept[i];
  }
  EXPECT_EQ(again.get("/lrc/" + std::to_string(before[1]) + ".lrc").body, "[00:01.00]edited\n");
}

TEST(TrackIds, OverlappingFoldersHoldEachSongOnce) {
  TempDir dir;
  for (const char* file : kKept) write_file(dir / file, "[00:01.00]x\n");
  LocalService service({dir.path().string(), dir / "b", dir.path().string() + "/"});
  auto library = service.service().library();
  ASSERT_EQ(library->size(), std::size(kKept)) << service.log();
  std::set<std::uint64_t> ids;
  for (std::size_t i = 0; i < library->size(); ++i) ids.insert(library->entry(i).id);
  EXPECT_EQ(ids.size(), std::size(kKept));
}

}  // namespace
}  // namespace service_test
