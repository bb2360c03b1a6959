/* Resource and control ids of the settings dialog, shared by its template
   (resources/Dialog.rc) and its code: plain defines, so the resource compiler reads
   them too. */
#pragma once

#define IDD_SAVER_DIALOG 102
#define IDR_DIALOG_ICON 128
#define IDB_DIALOG_BACKGROUND 131
#define IDB_TITLE_PICTURE 146
#define IDR_INFO_PAGE 143

#define IDC_TITLE_FRAME 1006
#define IDC_MODE_LIST 1008
#define IDC_CHECK_DESKTOP 1010
#define IDC_CHECK_SOUNDS 1011
#define IDC_CHECK_CROSS 1012
#define IDC_CHECK_HIEROGLYPHS 1013
#define IDC_CHECK_RAIN 1014
#define IDC_ABOUT 1015
#define IDC_PRODUCT_TEXT 1017
#define IDC_CHECK_HIGH_QUALITY 1019
