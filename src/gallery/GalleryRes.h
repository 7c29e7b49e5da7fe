// Identifiers shared by Gallery.rc and the code: the template dialog and its controls.
#pragma once

#define IDD_GALLERY_TEMPLATE 100

#define IDC_TPL_OWNERDRAW 1001
#define IDC_TPL_CHECK 1002
#define IDC_TPL_CHECK3 1003
#define IDC_TPL_RADIO1 1004
#define IDC_TPL_RADIO2 1005
#define IDC_TPL_GROUP 1006
#define IDC_TPL_EDIT 1007
#define IDC_TPL_SIMPLE 1008
#define IDC_TPL_DROPDOWN 1009
#define IDC_TPL_DROPLIST 1010
#define IDC_TPL_SCROLL 1011
#define IDC_TPL_TABS 1012
#define IDC_TPL_STATIC 1013
