#pragma once

class QWidget;

/// What an edit box's colour tells the user about its value.
enum class EditState {
    Typing,    ///< typed, not yet entered
    Entered,   ///< entered, waiting for the instrument
    Confirmed, ///< the instrument holds the value shown
};

void setEditState(QWidget *edit, EditState state);
/// The state last set; Confirmed for a box never set.
EditState editState(const QWidget *edit);
