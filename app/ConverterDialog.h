#pragma once

// The converter dialog's logic: it owns the source and the reference document and runs the
// four commands. It reaches the window, the file dialogs and the settings only through a
// DialogToolkit, and shows no message ever: success and failure show as what changed.

#include <memory>
#include <string>

#include "app/DialogToolkit.h"
#include "mapsource/MapSourceDocument.h"
#include "tracklog/TrackLogDocument.h"

namespace pelagor::app {

class ConverterDialog {
public:
    explicit ConverterDialog(DialogToolkit& toolkit) : m_toolkit(toolkit) {}
    ConverterDialog(const ConverterDialog&) = delete;
    ConverterDialog& operator=(const ConverterDialog&) = delete;
    // Like the window's own destructor, this leaves the documents to DestroyWindow; the slots
    // still release whatever is left.
    ~ConverterDialog() = default;

    // Sets the icons, restores and loads the source, then the reference. True: the focus goes
    // to the first tab stop.
    bool OnInitDialog();
    // As OnInitDialog, then the source named on the command line (UTF-8; empty for none) goes
    // into the source field and loads, after the restored paths.
    bool OnInitDialog(std::string_view startSource);

    // A file dropped on the window: a track log fills the source field and lists it as
    // button 1007 would, a MapSource file fills the reference field and loads it as choosing it
    // would. True when the file was taken; any other file is ignored.
    bool OpenDroppedFile(std::string_view path);

    void LoadSource();       // button 1007
    void BrowseSource();     // button 1005
    void LoadReference();    // at start-up and after BrowseReference
    void BrowseReference();  // button 1006
    void Convert();          // button 1013
    // The save dialog for the output file: true and the full path when accepted.
    bool ChooseOutputPath(std::string& path);

    // Run by the toolkit once the modal loop has ended: the documents go before the window.
    bool DestroyWindow();

    // A slot's document is destroyed before the next is created; a document whose Load failed
    // stays held until then.
    std::unique_ptr<TrackLogDocument> m_pSource;
    std::unique_ptr<MapSourceDocument> m_pReference;

private:
    void Browse(ControlId field, std::string_view filter, void (ConverterDialog::*load)());

    DialogToolkit& m_toolkit;
};

}  // namespace pelagor::app
