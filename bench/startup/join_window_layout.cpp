#include "join_window_layout.h"

#include "app/windows/skeleton/dui_window.h"
#include "duilib/paint_manager_ui.h"
#include "kestrum/testing/win_wait.h"
#include "ui/base/resource/resource_hub.h"

namespace {

// As the program creates its dialogs.
constexpr DWORD kDialogStyle = 0x10CF0000;
constexpr int kWidth = 360;
constexpr int kHeight = 500;

class CLayoutProbe : public CDuiWindow<CLayoutProbe> {
public:
    const wchar_t* GetWindowClassName() const override { return L"UIJoinLayoutProbe"; }
    static CDuiMessageMap<CLayoutProbe> MessageMap() {
        return StandardMessageMap(&CLayoutProbe::OnCreate);
    }
    static CDuiNotifyMap<CLayoutProbe> NotifyMap() { return {}; }

    // The centre of a control once laid out; false when there is none.
    bool centreOf(const wchar_t* name, POINT& centre) {
        DuiLib::CControlUI* control = paintManager().FindControl(name);
        if (!control) return false;
        const RECT& pos = control->GetPos();
        if (pos.right <= pos.left) return false;
        centre = {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
        return true;
    }

private:
    LRESULT OnCreate() {
        BuildSkin(SkinFile(L"home").c_str(), nullptr);
        return 0;
    }
};

}  // namespace

JoinWindowLayout LayOutJoinWindow(const std::wstring& resources) {
    static bool started = false;
    if (!started) {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
        ui::ResourceHub::Start(resources, nullptr, false, L"themes\\default", L"lang\\zh_CN");
        DuiLib::CPaintManagerUI::SetResourcePath((resources + L"skin").c_str());
        started = true;
    }
    JoinWindowLayout layout;
    auto* probe = new CLayoutProbe;
    // Laid out as it is first painted; gone again before the bench watches the screen.
    HWND window =
        probe->Create(nullptr, L"JoinLayoutProbe", kDialogStyle, 0, 0, 0, kWidth, kHeight);
    if (!window) return layout;
    probe->ShowWindow(true, false);
    layout.found = kestrum::testing_support::PumpUntil([&] {
        return probe->centreOf(L"roomedit", layout.roomEdit) &&
               probe->centreOf(L"joinbtn", layout.joinButton);
    });
    DestroyWindow(window);
    return layout;
}
