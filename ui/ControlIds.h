#pragma once
// Control ids of the game window, numbered as its dialog template numbers them: the window's
// own, and its tests'.

namespace vostrel {

enum ControlId : int {
    IDC_PROBLEM_NO = 1000,
    IDC_DIGIT0 = 1001, // ..1004
    IDC_POWER0 = 1005, // ..1008
    IDC_OP0 = 1009,    // sign label; 1010..1012 the gap labels
    IDC_RANK0 = 1013,  // ..1016
    IDC_EVALUATE = 1017,
    IDC_RESULT = 1018,
    IDC_SCORE_CAPTION = 1019,
    IDC_POINTS = 1020,
    IDC_RETRY = 1021,
    IDC_GRADE = 1022,
    IDC_SETTINGS = 1023,
    IDC_POWER_CHOOSER = 1024,
    IDC_SIGN_CHOOSER = 1025,
    IDC_OP_CHOOSER = 1026,
    IDC_RANK_CHOOSER = 1027,
};

} // namespace vostrel
