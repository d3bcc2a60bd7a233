#include "app/dialog_factory.h"

#include "app/kestrum/kestrum.h"
#include "app/windows/join/dui_login.h"
#include "app/windows/join/dui_set_nick_name.h"
#include "app/windows/live/dui_live.h"
#include "app/windows/settings/dui_set_av.h"
#include "app/windows/settings/dui_set_own_room.h"
#include "app/windows/settings/dui_set_room.h"
#include "app/windows/settings/dui_user_config.h"

CDuiFrameWindow* CreateProgramDialog(unsigned id) {
    switch (id) {
    case CKestrum::kLoginDlg:
        return new CDuiLogin;
    case CKestrum::kNickNameDlg:
        return new CDuiSetNickName;
    case CKestrum::kSetAVDlg:
        return new CDuiSetAV;
    case CKestrum::kSetRoomDlg:
        return new CDuiSetRoom;
    case CKestrum::kSetOwnRoomDlg:
        return new CDuiSetOwnRoom;
    case CKestrum::kUserConfigDlg:
        return new CDuiUserConfig;
    case CKestrum::kLiveDlg:
        return new CDuiLive;
    default:
        // The dialog table logs the id it got nothing for.
        return nullptr;
    }
}
