#pragma once
// What the game flow needs from the game window. CGameDlg implements it with Qt widgets; tests
// implement it with a fake that records what it was told.

#include "app/IMessageBoxOwner.h"
#include "engine/Evaluator.h"

#include <cstdint>
#include <string>

namespace vostrel {

class IGameView : public IMessageBoxOwner {
public:
    // Labels, by ControlId. Texts are UTF-8.
    virtual void SetLabelText(int id, const std::string& text) = 0;
    virtual void SetLabelAlign(int id, TextAlign align) = 0;
    virtual void ShowLabel(int id, bool show) = 0;
    virtual void EnableLabel(int id, bool enable) = 0;

    // Chooser lists, by ControlId: the list `id` of the label `labelId`, shown where the window
    // drops that label's list, with the item `selection` selected, dropped down and with the
    // keyboard focus.
    virtual void PopUpChooserList(int id, int labelId, int32_t selection) = 0;
    virtual void HideChooserList(int id) = 0;
    virtual int32_t ChooserSelection(int id) = 0;

    virtual void FocusEvaluateButton() = 0;

    // What a screen reader says, once, for a change that moves no focus (a new problem's digits,
    // a try's result): said by the control that has the focus once the current event is done.
    virtual void Speak(const std::string& text) = 0;

    // Modal dialogs over the application object.
    virtual void RunHiScoreDialog() = 0;
    virtual void RunSettingsDialog() = 0;
    virtual void RunAboutDialog() = 0;

    // Ends the game window with IDOK or IDCANCEL.
    virtual void EndDialog(int32_t result) = 0;
};

} // namespace vostrel
