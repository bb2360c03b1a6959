/* The program's resource ids, written once: the resource scripts, the native build's
   embedded table (resources/CMakeLists.txt reads the IDR_ lines), the program and the
   tools all take them from here. Plain defines, so that the resource compiler reads
   them too. */
#pragma once

/* Raw data (RCDATA): the textures and glyph atlas (TGA), the page, the storm loop. */
#define IDR_GLOW_TEXTURE 133
#define IDR_SKY_TEXTURE 137
#define IDR_CLOUD_TEXTURE 138
#define IDR_GLYPH_ATLAS 139
#define IDR_GROUND_TEXTURE 140
#define IDR_RAIN_TEXTURE 141
#define IDR_INFO_PAGE 143
#define IDR_STORM_SOUND 144

/* Pictures, the icon and the invisible pointer. */
#define IDR_DIALOG_ICON 128
#define IDC_INVISIBLE_CURSOR 129
#define IDB_DIALOG_BACKGROUND 131
#define IDB_TITLE_PICTURE 146

/* The settings dialog and its controls. */
#define IDD_SAVER_DIALOG 102
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
