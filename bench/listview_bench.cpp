// Filling a report-view list view with 10,000 rows of two columns and painting it once.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "platform/api.h"
#include "platform/api/listview.h"

namespace {

HWND make_parent() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "ListViewBenchParent";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExA(0, "ListViewBenchParent", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                         nullptr, nullptr, nullptr, nullptr);
}

void add_column(HWND lv, int index, const char* title, int width) {
  LVCOLUMNA col{};
  col.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  col.cx = width;
  col.pszText = const_cast<LPSTR>(title);
  col.iSubItem = index;
  SendMessageA(lv, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}

void BM_Insert10000RowsAndPaint(benchmark::State& state) {
  setenv("LYRICS_DISPLAY", "headless", 0);
  HWND parent = make_parent();
  std::string id;
  std::string address;
  for (auto _ : state) {
    HWND lv = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10,
                              600, 420, parent, nullptr, nullptr, nullptr);
    add_column(lv, 0, "Id", 70);
    add_column(lv, 1, "Address", 280);
    for (int i = 0; i < 10000; ++i) {
      id = std::to_string(1000000 + i);
      address = "http://127.0.0.1:47610/lyrics/" + id + ".lrc";
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = id.data();
      SendMessageA(lv, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      item.iSubItem = 1;
      item.pszText = address.data();
      SendMessageA(lv, LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    UpdateWindow(lv);
    benchmark::DoNotOptimize(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0));
    state.PauseTiming();
    DestroyWindow(lv);
    state.ResumeTiming();
  }
  DestroyWindow(parent);
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Insert10000RowsAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace
