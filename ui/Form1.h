#pragma once

#include <QWidget>

namespace trelvano {

class AppWindows;

// The input panel "Trelvano": nine entry boxes, the modulation type box and
// the "Grafici" button. Every text the user leaves in a box goes to the
// session as it changes.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(AppWindows& windows);

    // The "Grafici" action.
    void Command2_Click();

private:
    AppWindows& windows_;
};

}  // namespace trelvano
