// Ids of the gallery window: one of every control of the dialog toolkit.
#pragma once

#define IDD_GALLERY 3900
#define IDC_G_WELL 3901
#define IDC_G_WELL_OFF 3902
#define IDC_G_GRADIENT 3903
#define IDC_G_IMAGES 3904
#define IDC_G_TABS 3905
#define IDC_G_TREE 3906
#define IDC_G_LIST 3907
#define IDC_G_SLIDER 3908
#define IDC_G_SLIDER_EDIT 3909
#define IDC_G_NUMBER 3910
#define IDC_G_NUMBER_SPIN 3911
#define IDC_G_CHECK 3912
#define IDC_G_BUTTON_OFF 3913
#define IDC_G_COLOUR 3914
#define IDC_G_PROGRESS 3915
#define IDC_G_LABEL_OFF 3916
#define IDC_G_GRIPPER 3917
#define IDC_G_DROPPER 3918
