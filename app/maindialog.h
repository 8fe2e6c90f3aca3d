#pragma once
// The main dialog: Select picks a camera file and the read-only field
// shows its shutter count, with the file, its camera and picture, and why a
// count is missing beneath; File > Exit ends the program, Help > About opens
// the About box. A file dropped onto the dialog is read like a selected one.
#include <QDialog>
#include <QIcon>

#include "select_flow.h"

class CFileDetailsPanel;
class QAction;
class QLineEdit;
class QMenuBar;
class QPushButton;

class CMainDialog : public QDialog, private frametally::SelectFlow::Ui {
    Q_OBJECT

public:
    explicit CMainDialog(QWidget* parent = nullptr);

    // Reads file as if it had been chosen with Select.
    void readFile(const frametally::ChosenFile& file);
    // The same for a path that QString holds whole (a name in valid UTF-8).
    void readFile(const QString& path);

    void OnSelect();
    void OnExit();
    void OnAbout();

protected:
    bool OnInitDialog();
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    frametally::SelectFlow::PickResult pickFile(frametally::ChosenFile& chosen) override;
    void showMessage(const std::string& text) override;
    void showReading(const frametally::SelectReading& reading) override;
    // Where the picker opens: empty leaves it to the picker.
    QString pickerFolder() const;

    QLineEdit* m_resultField = nullptr;
    QPushButton* m_selectButton = nullptr;
    QMenuBar* m_menuBar = nullptr;
    CFileDetailsPanel* m_details = nullptr;
    QIcon m_icon;
    frametally::SelectFlow m_select;
    QString m_nameFilter;  // the picker's filter chosen last in this session
};
