// Command ids of the process window's menu bar, accelerators and buttons (shared with zorvix.rc).
#pragma once

#define IDR_FRMMAIN_MENU 200
#define IDR_FRMMAIN_ACCEL 201

#define ID_MNUREFURBISH 1001
#define ID_ZHUXIAO 1002
#define ID_TURNOFF 1003
#define ID_MNUEXIT 1004
#define ID_MNUENDPRO 1101
#define ID_MNUDELPRO 1102
#define ID_MNUFILEPROPERTIES 1103
#define ID_MNUFOLDER 1104
#define ID_MNUSETPROCLASSSUB0 1110 /* to 1115, one per priority item */
#define ID_MNUONTOP 1201
#define ID_HIDEME 1202
#define ID_SUODING 1301
#define ID_JIESUO 1302
#define ID_XTSD_S_SD 1303
#define ID_XTSD_S_JS 1304
#define ID_TASKBAR_HIDE 1305
#define ID_TASKBAR_SHOW 1306
#define ID_DESKTOP 1307
#define ID_DESKTOPCANCEL 1308
#define ID_EXPLORER_KILL1 1309
#define ID_EXPLORER_KILL2 1310
#define ID_EXPLORER_RESTORE 1311
#define ID_EXPLORER_OPEN 1312
#define ID_HELP_TOPICS 1401
#define ID_MNUABOUT 1402

/* Positions of the menus on the bar. */
#define POS_MNUPROCESS 1
#define POS_MNUSETPROCLASS 6
