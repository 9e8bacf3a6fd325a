#pragma once

// The path dialog: asks for the game folder and stores it in path.inf and TribesPath.
// Modeless. Enter presses "&Ok" whichever control has the focus and Esc presses
// "&Do It Later", while the close box only closes the window: QDialog would send Esc and
// the close box down the same reject path, so this is a plain window.

#include <QWidget>

class QLineEdit;
struct SharedStrings;

class PathDialog : public QWidget
{
    Q_OBJECT

public:
    explicit PathDialog(SharedStrings &shared, QWidget *parent = nullptr);

    QLineEdit *pathBox() const { return m_pathBox; }

Q_SIGNALS:
    void browserWanted();
    // The path was stored and the dialog closed: the main window is to be shown.
    void pathStored();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void browse();
    void ok();
    void doItLater();

    SharedStrings &m_shared;
    QLineEdit *m_pathBox = nullptr;
};
