#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// What the two player windows share: modeless, no close box, deleted when closed. Enter and
// Escape do nothing and a window manager's close request is refused: STOP is the only way
// out, and it calls FinishRun once the run has stopped.
class CPlayerDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CPlayerDialog(QWidget* parent = nullptr);

    // Set first thing by STOP: from then on every button, key and progress handler returns
    // early (progress only updates the texts).
    bool IsClosing() const { return m_closing; }

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // Closes the window for good (finished() is emitted, then the window is deleted).
    void FinishRun();
    // A button that Enter never presses: the player decides what Enter does.
    QPushButton* MakeButton(const QString& text);
    // A label and its field as one accessible pair.
    static void Pair(QLabel* label, QLineEdit* field);

    bool m_closing = false;

private:
    bool m_finished = false;
};
