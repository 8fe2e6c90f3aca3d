#pragma once
// The Select command of the main dialog, kept apart from the widgets: it asks
// for a file, hands its path to the reader and shows the answer. The dialog
// supplies the file picker, the message box and the result display through Ui;
// the tests supply stand-ins and drive the command without a window system.
#include <QCoreApplication>
#include <QString>

#include <functional>

class CSelectController {
    Q_DECLARE_TR_FUNCTIONS(CSelectController)

public:
    enum class PickResult { Confirmed, Cancelled, NotCreated };

    // What one reading of a file came to, as the dialog shows it.
    struct Reading {
        QString path;
        bool raisedError = false;
        QString result;   // the result text ("3619", "No Count"); empty for a raised error
        QString message;  // a raised error's text, lines separated by "\n"
        QString camera;
        QString serialNumber;
        QString dateTaken;
        QString lens;
        QString reason;  // why there is no count; empty for a count
    };

    class Ui {
    public:
        virtual ~Ui() = default;
        // Runs the open-file picker; on Confirmed, path holds the full path
        // of the chosen file and is left alone otherwise.
        virtual PickResult pickFile(QString& path) = 0;
        // Shows text with an OK button and returns once it is dismissed.
        virtual void showMessage(const QString& text) = 0;
        // Shows a reading: its result in the result field and what it says of
        // the file beneath, all at once, so that they always speak of one file.
        virtual void showReading(const Reading& reading) = 0;
    };

    // Reads one file; never throws.
    using Reader = std::function<Reading(const QString& path)>;
    static Reader engineReader();

    explicit CSelectController(Ui& ui, Reader reader = engineReader());

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
    Reader m_reader;
    QString m_selectedPath;
};
