#pragma once

// The converter dialog's logic: it owns the source and the reference document and runs the
// four commands. It reaches the window, the file dialogs and the settings only through a
// DialogToolkit. Loads show their outcome in the list and the counts; a conversion that cannot
// be done says why in a message box, and the window stays open.

#include <filesystem>
#include <memory>
#include <string>

#include "app/DialogToolkit.h"
#include "mapsource/MapSourceArchive.h"
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

    // A push button's command; false for an id that is none of the four buttons.
    bool OnCommand(ControlId id);

    void LoadSource();       // button 1007
    void BrowseSource();     // button 1005
    void LoadReference();    // at start-up and after BrowseReference
    void BrowseReference();  // button 1006
    void Convert();          // button 1013
    // The save dialog for the output file, offering a MapSource file only when one can be
    // built: true and the full path when accepted, a name typed without an extension taking
    // the selected type's.
    bool ChooseOutputPath(bool mapSource, std::string& path);

    // Run by the toolkit once the modal loop has ended: the documents go before the window.
    bool DestroyWindow();

    // A slot's document is destroyed before the next is created; a document whose Load failed
    // stays held until then.
    std::unique_ptr<TrackLogDocument> m_pSource;
    std::unique_ptr<MapSourceDocument> m_pReference;
    // A MapSource file given as the source, read whole; then m_pSource is empty. It is exported
    // as GPX only: built on a reference, its names would be cut to 11 characters.
    std::unique_ptr<MapSourceArchive> m_pArchive;

private:
    void Browse(ControlId field, std::string_view filter, void (ConverterDialog::*load)());
    // Why nothing can be converted, as a message; empty when the source can be.
    [[nodiscard]] std::string SourceRefusal() const;
    // Why no MapSource file can be built, as a message; empty when one can (GPX needs none).
    [[nodiscard]] std::string MapSourceRefusal() const;
    // Writes the source as GPX; the failure as a message, empty on success.
    [[nodiscard]] std::string WriteGpx(const std::filesystem::path& output);

    DialogToolkit& m_toolkit;
    // The files the held documents were read from (UTF-8), which a conversion must never
    // replace; the path fields may have been edited since.
    std::string m_sourcePath;
    std::string m_referencePath;
    bool m_referenceLoaded = false;  // a reference that failed part-way is never written
};

}  // namespace pelagor::app
