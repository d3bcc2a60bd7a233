// Fills a list, then scrolls it from top to bottom one wheel notch at a time (painting the view
// into a memory bitmap after a sample of the steps), and reports the fill time, the time per
// step, the paint time, the process's peak memory and how many text pixels the first paint drew
// (dark text in the list's own colours and font on its white background). Without arguments it
// runs every case in a child process of its own (so that each peak is the case's own) and prints
// them side by side with the goals:
//   kestrum_lists_bench.exe [--case virtual|plain <rows>]

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "kestrum/common/scoped_handle.h"
#include "ui/base/render/gdiplus_headers.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/resource/resource_hub_state.h"
#include "ui/controls/layout/v_layout.h"
#include "ui/controls/list/list_box.h"
#include "ui/controls/list/list_container_element.h"
#include "ui/controls/render/gdiplus/render_context_gdiplus.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"
#include "ui/controls/virtuallist/virtual_list_box.h"

namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 600;
constexpr int kRowHeight = 32;
constexpr int kWheelStep = 3 * kRowHeight;
// Rows in view plus spares above and below.
constexpr int kPoolSize = kHeight / kRowHeight + 6;
constexpr double kVirtualStepGoalMs = 2.0;
// Painted steps per case (evenly spread).
constexpr int kPaintSamples = 100;
// The list's own colours and font (font 0, the only one this program adds): dark text on white.
constexpr const wchar_t* kTextColor = L"bench_row_text";
constexpr const wchar_t* kBackColor = L"bench_list_bk";
// How far below white, summed over red, green and blue, a pixel must be to count as text.
constexpr int kInkThreshold = 96;

struct CaseResult {
  double fill_ms = 0;
  int steps = 0;
  double median_ms = 0;
  double p99_ms = 0;
  double max_ms = 0;
  double paint_ms = 0;  // median paint of the view after a step
  double peak_working_set_mb = 0;
  double pagefile_mb = 0;
  int controls = 0;
  int ink_pixels = 0;  // text pixels in the view after the first paint
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

ui::ListContainerElement* MakeRow() {
  auto* row = new ui::ListContainerElement;
  row->SetFixedHeight(kRowHeight, false);
  row->SetAttribute(L"textpadding", L"12,0,12,0");
  row->SetAttribute(L"normaltextcolor", kTextColor);
  row->SetAttribute(L"font", L"0");
  return row;
}

std::wstring RowText(int index) {
  return L"Participant " + std::to_wstring(index + 1) + L" \u6D4B\u8BD5 camera on";
}

class RowProvider : public ui::VirtualListBox::IDataProvider {
 public:
  explicit RowProvider(int rows) : rows_(rows) {}
  ui::Control* CreateElement() override { return MakeRow(); }
  void FillElement(ui::Control* element, int index) override {
    static_cast<ui::ListContainerElement*>(element)->SetText(RowText(index));
  }
  int GetElementCount() override { return rows_; }

 private:
  int rows_;
};

// Pixels of the view dark enough to be the rows' text on the white background.
int CountInk(ui::RenderContext_GdiPlus* context) {
  const auto* bits = static_cast<const DWORD*>(context->GetBits());
  if (!bits) return 0;
  int ink = 0;
  for (int i = 0; i < context->GetWidth() * context->GetHeight(); ++i) {
    int below_white = 0;
    for (int shift : {0, 8, 16}) below_white += 0xFF - static_cast<int>((bits[i] >> shift) & 0xFF);
    if (below_white >= kInkThreshold) ++ink;
  }
  return ink;
}

// Scrolls list from the top to the end one wheel step at a time. Every step's scroll (moving
// and refilling rows included) is timed; the view is painted after every kPaintEvery-th step and
// those paints are timed apart, since drawing text dominates and does not depend on the list.
void ScrollEndToEnd(ui::ListBox* list, ui::RenderContext_GdiPlus* context, CaseResult* result) {
  const RECT view{0, 0, kWidth, kHeight};
  list->Paint(context, view);
  result->ink_pixels = CountInk(context);
  const int range = list->GetScrollRange().cy;
  const int steps = (range + kWheelStep - 1) / kWheelStep;
  const int paint_every = std::max(1, steps / kPaintSamples);
  std::vector<double> scrolls;
  std::vector<double> paints;
  for (int i = 1; i <= steps; ++i) {
    const double start = Now();
    list->SetScrollPos({0, std::min(i * kWheelStep, range)});
    const double scrolled = Now();
    scrolls.push_back(scrolled - start);
    if (i % paint_every != 0) continue;
    list->Paint(context, view);
    paints.push_back(Now() - scrolled);
  }
  if (scrolls.empty()) return;
  std::sort(scrolls.begin(), scrolls.end());
  std::sort(paints.begin(), paints.end());
  result->steps = static_cast<int>(scrolls.size());
  result->median_ms = scrolls[scrolls.size() / 2];
  result->p99_ms = scrolls[scrolls.size() * 99 / 100];
  result->max_ms = scrolls.back();
  if (!paints.empty()) result->paint_ms = paints[paints.size() / 2];
}

void ReadMemory(CaseResult* result) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  if (::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) {
    result->peak_working_set_mb = counters.PeakWorkingSetSize / (1024.0 * 1024.0);
    result->pagefile_mb = counters.PagefileUsage / (1024.0 * 1024.0);
  }
}

CaseResult RunCase(bool virtual_list, int rows) {
  CaseResult result;
  ui::RenderContext_GdiPlus context;
  context.Resize(kWidth, kHeight);
  const RECT view{0, 0, kWidth, kHeight};
  RowProvider provider(rows);
  std::unique_ptr<ui::ListBox> list;
  const double start = Now();
  if (virtual_list) {
    auto* virtual_box = new ui::VirtualListBox;
    list.reset(virtual_box);
    virtual_box->SetDataProvider(&provider);
    virtual_box->SetElementHeight(kRowHeight);
    virtual_box->EnableScrollBar(true, false);
    virtual_box->InitElement(kPoolSize);
  } else {
    list = std::make_unique<ui::ListBox>(new ui::VLayout);
    list->EnableScrollBar(true, false);
    for (int i = 0; i < rows; ++i) {
      ui::ListContainerElement* row = MakeRow();
      row->SetText(RowText(i));
      list->Add(row);
    }
  }
  list->SetAttribute(L"bkcolor", kBackColor);
  list->SetPos(view);
  result.fill_ms = Now() - start;
  result.controls = list->GetCount();
  ScrollEndToEnd(list.get(), &context, &result);
  ReadMemory(&result);
  return result;
}

void PrintCaseLine(const CaseResult& r) {
  std::printf("RESULT %.3f %d %.4f %.4f %.4f %.4f %.2f %.2f %d %d\n", r.fill_ms, r.steps,
              r.median_ms, r.p99_ms, r.max_ms, r.paint_ms, r.peak_working_set_mb, r.pagefile_mb,
              r.controls, r.ink_pixels);
}

// Runs this program with "--case kind rows" and reads its result line; false on any failure.
bool RunChild(const wchar_t* kind, int rows, CaseResult* result) {
  wchar_t self[MAX_PATH];
  if (!::GetModuleFileNameW(nullptr, self, MAX_PATH)) return false;
  std::wstring command =
      L"\"" + std::wstring(self) + L"\" --case " + kind + L" " + std::to_wstring(rows);
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE pipe_read = nullptr;
  HANDLE pipe_write = nullptr;
  if (!::CreatePipe(&pipe_read, &pipe_write, &inherit, 0)) return false;
  const kestrum::common::ScopedHandle read_end(pipe_read);
  kestrum::common::ScopedHandle write_end(pipe_write);
  ::SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end.get();
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process = {};
  const BOOL started = ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
  const kestrum::common::ScopedHandle child(process.hProcess);
  const kestrum::common::ScopedHandle child_thread(process.hThread);
  write_end.reset();  // the child's copy is then the only one: reading ends when the child does
  std::string output;
  if (started) {
    char buffer[512];
    DWORD got = 0;
    while (::ReadFile(read_end.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
      output.append(buffer, got);
    }
    ::WaitForSingleObject(child.get(), INFINITE);
  }
  const size_t at = output.find("RESULT ");
  if (at == std::string::npos) return false;
  return std::sscanf(output.c_str() + at, "RESULT %lf %d %lf %lf %lf %lf %lf %lf %d %d",
                     &result->fill_ms, &result->steps, &result->median_ms, &result->p99_ms,
                     &result->max_ms, &result->paint_ms, &result->peak_working_set_mb,
                     &result->pagefile_mb, &result->controls, &result->ink_pixels) == 10;
}

int RunAll() {
  struct Case {
    const wchar_t* kind;
    const char* label;
    int rows;
  };
  const Case cases[] = {
      {L"virtual", "virtual", 100000}, {L"virtual", "virtual", 1000}, {L"plain", "plain", 1000}};
  CaseResult results[3];
  for (int i = 0; i < 3; ++i) {
    if (!RunChild(cases[i].kind, cases[i].rows, &results[i])) {
      std::fprintf(stderr, "case %ls %d failed\n", cases[i].kind, cases[i].rows);
      return 1;
    }
  }
  std::printf(
      "list %dx%d, rows %d px, wheel step %d px; step = scroll + move/refill rows, "
      "paint = median view repaint over %d sampled steps\n",
      kWidth, kHeight, kRowHeight, kWheelStep, kPaintSamples);
  std::printf("%-8s %7s %8s %9s %6s %10s %9s %8s %9s %10s %9s %8s\n", "list", "rows", "controls",
              "fill ms", "steps", "step med", "step p99", "step max", "paint ms", "peak WS MB",
              "pagef MB", "text px");
  int status = 0;
  for (int i = 0; i < 3; ++i) {
    const CaseResult& r = results[i];
    std::printf("%-8s %7d %8d %9.2f %6d %10.4f %9.4f %8.4f %9.3f %10.2f %9.2f %8d\n",
                cases[i].label, cases[i].rows, r.controls, r.fill_ms, r.steps, r.median_ms,
                r.p99_ms, r.max_ms, r.paint_ms, r.peak_working_set_mb, r.pagefile_mb, r.ink_pixels);
    // A paint without text takes less than a list's paint: its figure would say nothing.
    if (r.ink_pixels == 0) {
      std::fprintf(stderr, "case %ls %d drew no text\n", cases[i].kind, cases[i].rows);
      status = 1;
    }
  }
  const CaseResult& big = results[0];
  const CaseResult& small = results[1];
  std::printf("goal: virtual scroll <= %.1f ms per step: median %.4f ms, p99 %.4f ms -> %s\n",
              kVirtualStepGoalMs, big.median_ms, big.p99_ms,
              big.p99_ms <= kVirtualStepGoalMs ? "met" : "MISSED");
  std::printf(
      "goal: virtual memory independent of rows: 100000/1000 rows peak WS ratio %.3f, "
      "pagefile ratio %.3f, controls %d vs %d\n",
      big.peak_working_set_mb / small.peak_working_set_mb, big.pagefile_mb / small.pagefile_mb,
      big.controls, small.controls);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
    std::fprintf(stderr, "GDI+ did not start\n");
    return 1;
  }
  int status = 0;
  if (argc == 4 && std::string(argv[1]) == "--case") {
    ui::ResourceHubState::Get().render_factory = std::make_unique<ui::RenderFactory_GdiPlus>();
    ui::ResourceHub::AddFont(L"Microsoft YaHei", 14, false, false, false);
    ui::ResourceHub::AddTextColor(kTextColor, L"#FF202020");
    ui::ResourceHub::AddTextColor(kBackColor, L"#FFFFFFFF");
    const int rows = std::max(1, std::atoi(argv[3]));
    PrintCaseLine(RunCase(std::string(argv[2]) == "virtual", rows));
    ui::ResourceHub::Stop();
  } else {
    status = RunAll();
  }
  Gdiplus::GdiplusShutdown(token);
  return status;
}
