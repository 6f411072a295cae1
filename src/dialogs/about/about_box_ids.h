#pragma once
// Resource and control IDs of the about box, which is also the splash window.
#define IDD_ABOUT_BOX 1300
#define IDC_ABOUT_FRAME 1301
#define IDC_ABOUT_LOGO 1302
#define IDC_ABOUT_PRODUCT 1303
#define IDC_ABOUT_PLATFORM 1304
#define IDC_ABOUT_VERSION 1305
#define IDC_ABOUT_COMPANY 1306
