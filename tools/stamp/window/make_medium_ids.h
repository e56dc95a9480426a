// The dialog's controls and what it publishes, shared by its resources, its code and the
// programs that drive it from outside (a test, or an accessibility tool).
#pragma once

#define IDD_MAKE_MEDIUM 100
#define IDI_MAKE_MEDIUM 1

#define IDC_ROOT_LABEL 1000
#define IDC_ROOT 1001
#define IDC_BROWSE 1002
#define IDC_PROGRAMS_LABEL 1010
#define IDC_PROGRAMS 1011
#define IDC_OTHER 1012
#define IDC_ICON_LABEL 1020
#define IDC_ICON_CHOICE 1021
#define IDC_ICON_PREVIEW 1022
#define IDC_PICTURE_LABEL 1023
#define IDC_PICTURE 1024
#define IDC_PICTURE_BROWSE 1025
#define IDC_LABEL_LABEL 1030
#define IDC_LABEL 1031
#define IDC_LABEL_STATE 1032
#define IDC_ARCH_LABEL 1040
#define IDC_ARCH 1041
#define IDC_CODE_PAGE_LABEL 1050
#define IDC_CODE_PAGE 1051
#define IDC_MAKE 1060
#define IDC_CHECK 1061
#define IDC_REPORT_LABEL 1070
#define IDC_REPORT 1071
#define IDC_OPEN_FOLDER 1072
#define IDC_STATUS 1080
#define IDC_AUTORUN 1090
#define IDC_CHECK_IMAGE 1091
#define IDC_IMAGE 1092
#define IDC_IMAGE_PATH 1093
#define IDC_IMAGE_BROWSE 1094
#define IDC_PROGRESS 1095
#define IDC_SIGN_LABEL 1096
#define IDC_SIGN 1097
#define IDC_SIGN_NOTE 1098
#define IDC_DISC_LABEL 1130
#define IDC_DISC 1131
#define IDC_IMAGE_PATH_LABEL 1150
#define IDC_OPEN_MEDIUM_FILE 1120
#define IDC_SAVE_MEDIUM_FILE 1121
#define IDC_SIGN_LIMIT 1110

// The icon choices, in the order of the icon list.
#define ICON_PROGRAMS_OWN 0
#define ICON_PICTURE 1
#define ICON_LAUNCHERS_OWN 2

// The disc sizes' list: first any disc, then Discs() in their order.
#define DISC_ANY 0

// The architectures, in the order of the architecture list.
#define ARCH_X86 0
#define ARCH_X64 1

// Window properties of the dialog: the number of jobs waiting or running (non-zero: busy), the
// number of jobs finished so far, non-zero while a question is open, how far the long work in
// hand is in thousandths (0 when there is none), and non-zero while the root is a disc image
// that is checked (Make is off).
#define PROPERTY_BUSY L"MakeMedium.Busy"
#define PROPERTY_FINISHED L"MakeMedium.Finished"
#define PROPERTY_QUESTION L"MakeMedium.Question"
#define PROPERTY_PROGRESS L"MakeMedium.Progress"
#define PROPERTY_IMAGE_CHECKED L"MakeMedium.ImageChecked"
