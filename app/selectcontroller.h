#pragma once
// The Select command of the main dialog, kept apart from the widgets: it asks
// for a file, hands its path to the reader and shows the answer. The dialog
// supplies the file picker, the message box and the result field through Ui;
// the tests supply stand-ins and drive the command without a window system.
#include <QCoreApplication>
#include <QString>

#include <string>

class CSelectController {
    Q_DECLARE_TR_FUNCTIONS(CSelectController)

public:
    enum class PickResult { Confirmed, Cancelled, NotCreated };

    class Ui {
    public:
        virtual ~Ui() = default;
        // Runs the open-file picker; on Confirmed, path holds the full path
        // of the chosen file and is left alone otherwise.
        virtual PickResult pickFile(QString& path) = 0;
        // Shows text with an OK button and returns once it is dismissed.
        virtual void showMessage(const QString& text) = 0;
        // Replaces the whole text of the result field.
        virtual void setResultText(const QString& text) = 0;
    };

    // The two reader calls a reading makes.
    struct Engine {
        const std::string& (*getImageShutterCount)(const char* path);
        void (*resetOptions)();
    };
    static Engine tiffwalkerEngine();

    explicit CSelectController(Ui& ui, Engine engine = tiffwalkerEngine());

    // One click on Select: pick a file, then read the last confirmed one.
    // Cancel reads the previous file again; before any confirmation that is
    // the empty path, which the reader answers with "Not Readable".
    void select();

    // Reads path as if it had just been confirmed in the picker.
    void readFile(const QString& path);

    const QString& selectedPath() const { return m_selectedPath; }

private:
    void readSelectedPath();

    Ui& m_ui;
    Engine m_engine;
    QString m_selectedPath;
};
