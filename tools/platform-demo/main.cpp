// platform-demo: one window with the standard buttons, painted text and a gradient, and a
// button that opens a message box. Closing the window ends the program.
#include <string>
#include <string_view>

#include "platform/api.h"
#include "platform/kernel/codepage.h"

namespace {

constexpr int kIdHello = 1;
constexpr int kIdDefault = 2;
constexpr int kIdCheck = 3;
constexpr int kIdRadio1 = 4;
constexpr int kIdRadio2 = 5;
constexpr int kIdQuestion = 6;

std::string ansi(std::string_view utf8) {
  return platform::codepage::utf8_to_ansi(utf8);
}

HWND add_button(HWND parent, DWORD style, std::string_view utf8, int x, int y, int w, int h, int id) {
  std::string text = ansi(utf8);
  HWND b = CreateWindowExA(0, "BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return b;
}

void paint(HWND hwnd) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

  // A horizontal gradient band along the bottom.
  TRIVERTEX v[2] = {{10, client.bottom - 40, 0x2000, 0x4000, 0xA000, 0},
                    {client.right - 10, client.bottom - 10, 0xF000, 0xF800, 0xFF00, 0}};
  GRADIENT_RECT band{0, 1};
  GradientFill(dc, v, 2, &band, 1, GRADIENT_FILL_RECT_H);

  HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 128));
  std::string label = ansi("中文与 Latin 混排的标签：歌词 Lyrics 123");
  RECT text{220, 130, client.right - 10, 150};
  DrawTextA(dc, label.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, RGB(255, 255, 255));
  std::string on_band = ansi("渐变 Gradient");
  RECT band_text{20, client.bottom - 40, client.right - 20, client.bottom - 10};
  DrawTextA(dc, on_band.c_str(), -1, &band_text, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, old_font);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK demo_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      add_button(hwnd, BS_PUSHBUTTON, "普通按钮", 10, 10, 90, 25, kIdHello);
      add_button(hwnd, BS_DEFPUSHBUTTON, "默认按钮", 110, 10, 90, 25, kIdDefault);
      add_button(hwnd, BS_PUSHBUTTON, "消息框…", 210, 10, 90, 25, kIdQuestion);
      add_button(hwnd, BS_GROUPBOX, "选项 Options", 10, 45, 190, 110, 0);
      add_button(hwnd, BS_AUTOCHECKBOX, "复选框 Check", 20, 65, 170, 20, kIdCheck);
      add_button(hwnd, BS_AUTORADIOBUTTON | WS_GROUP, "单选一", 20, 90, 170, 20, kIdRadio1);
      add_button(hwnd, BS_AUTORADIOBUTTON, "单选二", 20, 115, 170, 20, kIdRadio2);
      CheckDlgButton(hwnd, kIdRadio1, BST_CHECKED);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint(hwnd);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case kIdHello:
            MessageBoxA(hwnd, ansi("你好！Hello!").c_str(), ansi("提示").c_str(), MB_OK | MB_ICONINFORMATION);
            break;
          case kIdDefault:
            MessageBoxA(hwnd, ansi("这是默认按钮。").c_str(), ansi("警告").c_str(), MB_OK | MB_ICONWARNING);
            break;
          case kIdQuestion: {
            int answer = MessageBoxA(hwnd, ansi("要继续吗？\r\n第二行文字。").c_str(), ansi("问题").c_str(),
                                     MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
            std::string title = ansi(answer == IDYES  ? "平台演示 - 是"
                                     : answer == IDNO ? "平台演示 - 否"
                                                      : "平台演示 - 取消");
            SetWindowTextA(hwnd, title.c_str());
            break;
          }
          default:
            break;
        }
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int main() {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = demo_proc;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "PlatformDemo";
  if (!RegisterClassA(&wc)) return 1;
  std::string title = ansi("平台演示");
  HWND hwnd = CreateWindowExA(0, "PlatformDemo", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              CW_USEDEFAULT, CW_USEDEFAULT, 520, 260, nullptr, nullptr, nullptr, nullptr);
  if (!hwnd) return 1;
  MSG m{};
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return static_cast<int>(m.wParam);
}
