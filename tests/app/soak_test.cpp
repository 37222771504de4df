// A long session in one run: many searches (one of them huge) and previews leave no memory,
// worker thread or descriptor behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "libs/threads/start_thread.h"
#include "tests/app/support/finder.h"
#include "tests/app/support/lyric_server.h"

namespace {

using namespace app::main_window;

long resident_bytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * sysconf(_SC_PAGESIZE);
}

std::vector<std::pair<std::string, std::string>> hits(int n, const std::string& base) {
  std::vector<std::pair<std::string, std::string>> list;
  for (int i = 1; i <= n; ++i)
    list.emplace_back(std::to_string(i), base + "/lrc/" + std::to_string(i % 3) + ".lrc");
  return list;
}

TEST(Soak, AThousandSearchesAndTwoHundredPreviewsLeaveNothingBehind) {
  app_test::LyricServer server(app_test::service_port());
  ASSERT_TRUE(server.started());
  const std::string base = app_test::service_base();
  server.reply("/api/lyric/few/", app_test::search_reply(hits(20, base)));
  server.reply("/api/lyric/many/", app_test::search_reply(hits(5000, base)));
  for (int i = 0; i < 3; ++i) {
    server.reply("/lrc/" + std::to_string(i) + ".lrc", "[00:00.00]lyric " + std::to_string(i) + "\n",
                 "text/plain");
  }
  for (int i = 1; i <= 20; ++i) server.reply("/api/cover/" + std::to_string(i), "{\"code\": 404}");

  const int descriptors = app_test::descriptor_count();
  [[maybe_unused]] long after_warm_up = 0;
  {
    app_test::Finder finder;
    int previews = 0;
    for (int search = 1; search <= 1000; ++search) {
      const bool huge = search == 50;
      finder.set_keywords(huge ? "many" : "few", "");
      finder.search();
      ASSERT_EQ(finder.row_count(), huge ? 5000 : 20) << "search " << search;
      if (search % 5 == 0) {
        finder.double_click_row(search % 20);
        finder.wait_for_workers();
        ++previews;
      }
      if (search == 200) after_warm_up = resident_bytes();
    }
    EXPECT_EQ(previews, 200);
    EXPECT_EQ(finder.text(kLyricPreview).rfind("[00:00.00]lyric ", 0), 0u);
#if !defined(__SANITIZE_ADDRESS__)
    // Under AddressSanitizer freed blocks wait in its quarantine instead of being reused, so the
    // resident size follows churn, not leaks; LeakSanitizer checks that build at exit instead.
    EXPECT_LT(resident_bytes() - after_warm_up, 1l << 20) << "resident memory grew";
#endif
  }
  EXPECT_EQ(libs::threads::running_threads(), 0) << "a preview's worker never finished";
  // The server closes its end of the last connections on its own threads, a moment after the
  // finder hangs up; a leak never comes back.
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (app_test::descriptor_count() != descriptors && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(app_test::descriptor_count(), descriptors);
}

}  // namespace
