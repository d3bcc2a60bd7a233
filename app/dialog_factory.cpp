#include "app/dialog_factory.h"

#include "app/kestrum/kestrum.h"
#include "app/windows/join/dui_login.h"
#include "app/windows/join/dui_set_nick_name.h"
#include "app/windows/settings/dui_set_av.h"
#include "app/windows/settings/dui_user_config.h"

CDuiFrameWindow* CreateProgramDialog(unsigned id) {
    switch (id) {
    case CKestrum::kLoginDlg:
        return new CDuiLogin;
    case CKestrum::kNickNameDlg:
        return new CDuiSetNickName;
    case CKestrum::kSetAVDlg:
        return new CDuiSetAV;
    case CKestrum::kUserConfigDlg:
        return new CDuiUserConfig;
    default:
        // The dialog table logs the id it got nothing for.
        return nullptr;
    }
}
