#pragma once
// The Select command of the desktop dialogs, without any toolkit: it asks the
// window for a file, has the file read and hands the window what to show.
// The Qt dialog and the Windows dialog each supply a Ui (picker, message box,
// result display); the tests supply stand-ins.
//
// A path travels as the bytes the system gave (argv, the picker, a drop) and
// goes to the reader as they are, so that a name which is not valid UTF-8
// still opens; beside it goes a name for people, which the window's toolkit
// decodes and which may have lost some of those bytes. Every text handed to
// the window is valid UTF-8.
#include <functional>
#include <optional>
#include <string>

#include "readout.h"

namespace frametally {

// A file as the system named it.
struct ChosenFile {
    std::string path;         // the exact bytes that open it (on Windows, what the engine's file layer takes)
    std::string displayPath;  // UTF-8, for people: the toolkit's decoding of path
};

// What one reading of a file came to, as a dialog shows it: the result field
// and the details beneath speak of one file at a time.
struct SelectReading {
    ChosenFile file;
    bool raisedError = false;
    std::string result;   // "3619", "No Count", ...; empty for a raised error
    std::string message;  // a raised error's text, lines separated by "\n"
    // The texts shown beneath, as every front end shows them (shown_texts.h).
    std::string camera;
    std::string serialNumber;
    std::string dateTaken;  // "2025-01-10 10:10:00"; empty for a date left blank
    std::string lens;
    std::string reason;  // why there is no count; empty for a count
    // For a count: what it counts, in words ("mechanical releases"); the
    // mechanical releases recorded beside it, where there are; the share of
    // the rated life, where a rating is known. Empty otherwise.
    std::string countKind;
    std::string mechanicalCount;
    std::string ratedLife;
};

class SelectFlow {
public:
    enum class PickResult { Confirmed, Cancelled, NotCreated };

    class Ui {
    public:
        virtual ~Ui() = default;
        // Runs the open-file picker; on Confirmed, chosen holds the file, and
        // it is left alone otherwise.
        virtual PickResult pickFile(ChosenFile& chosen) = 0;
        // Shows a UTF-8 text with an OK button; returns once it is dismissed.
        virtual void showMessage(const std::string& text) = 0;
        // Shows a reading: its result and its details, all at once.
        virtual void showReading(const SelectReading& reading) = 0;
    };

    // Reads the file at these path bytes. May throw; the flow catches.
    using Reader = std::function<Inspection(const std::string& path)>;
    // Reads with one inspector of its own (one flow per thread).
    static Reader inspectionReader();

    explicit SelectFlow(Ui& ui, Reader reader = inspectionReader());

    // One click on Select: pick a file, then read the last confirmed one.
    // Cancel reads the file chosen before again; when none was chosen yet,
    // nothing is read and nothing shown.
    void select();

    // Reads file as if it had just been confirmed in the picker (the command
    // line, "Open With", a drop).
    void readFile(ChosenFile file);

    // The file read last, if any: where the picker opens next.
    const std::optional<ChosenFile>& selectedFile() const { return m_selected; }

    // The window's texts, in English.
    static std::string pickerFailedText();
    static std::string readingFailedText(const ChosenFile& file, const std::string& message);

private:
    void readSelected();

    Ui& m_ui;
    Reader m_reader;
    std::optional<ChosenFile> m_selected;
};

}  // namespace frametally
