#pragma once

#include <QWidget>
#include <string>

#include "engine/entries/ValidateEntries.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace trelvano {

class AppWindows;
class GraphicalButton;

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
    QLineEdit* AddEntry(const char* name, const char* text, int left, int top, int width, int height);
    QLabel* AddLabel(const char* name, const char* caption, int left, int top, int width, int height);
    void BuildLabels();
    void BuildTypeBox();
    void SetTabOrder();

    AppWindows& windows_;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QLineEdit* text5_ = nullptr;
    QLineEdit* text6_ = nullptr;
    QLineEdit* text7_ = nullptr;
    QLineEdit* text8_ = nullptr;
    QLineEdit* text13_ = nullptr;
    QComboBox* combo1_ = nullptr;
    GraphicalButton* command2_ = nullptr;
};

}  // namespace trelvano
