#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "engine/entries/ValidateEntries.h"

class QComboBox;
class QLineEdit;

namespace trelvano {

class AppWindows;

// The input panel "Trelvano": nine entry boxes, the modulation type box and
// the "Grafici" button that validates the entries and runs the analysis.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(AppWindows& windows);

    // The "Grafici" action.
    void Command2_Click();

    // The current texts of the nine entry boxes and of the type box.
    EntryTexts Entries() const;
    // The type box's edit field, whatever was picked or typed.
    std::string ModulationText() const;

private:
    AppWindows& windows_;
    std::array<QLineEdit*, kEntries.size()> boxes_{};  // in the entry table's order
    QComboBox* combo1_ = nullptr;
};

}  // namespace trelvano
