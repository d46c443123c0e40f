#pragma once

#include <QColor>
#include <QPushButton>

namespace trelvano {

// A push button whose face shows its own colour under every widget style, with
// the caption wrapped onto several lines when it is wider than the button.
// Enter presses it while it has the focus, as Space does; it is never a
// window's default button, so Enter typed elsewhere leaves it alone.
class GraphicalButton : public QPushButton {
    Q_OBJECT
public:
    GraphicalButton(const QString& caption, QColor face, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor face_;
};

}  // namespace trelvano
