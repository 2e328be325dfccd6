#pragma once

#include <string>

// Texts every run prints on its way, as the tool's users see them.
namespace expected {

inline const std::string Initialized = "\nInitializing video class...\nVideo class initialized.\n";
inline const std::string GettingRequired = "\nGetting required commands in order of priority...";
inline const std::string Required = GettingRequired + "\nRetrieved required commands.\n";
inline const std::string Optional =
    "\nGetting optional commands...\nRetrieved optional commands.\n";
inline const std::string Start = Initialized + Required + Optional;
inline const std::string ExitAborted = "\n\nExit - Aborted";
inline const std::string AbortedBeforeCompiling = "\n\nAborted per user request.";
inline const std::string LogHeader = "\t\t\tVantrel_CL Version 1.0.0.0 - Log\n";
inline const std::string NoInput =
    "\nERROR: No image input was specified. Pleasespecify an input. - main()\n\n";

inline std::string FolderHeader(const std::string& folder, const std::string& masks,
                                int subFolders) {
    return "\nLoading image paths from folder: " + folder + "...\nUsing mask list: " + masks +
           "\nInclude Sub Folders set to: " + std::to_string(subFolders) + "\n";
}
inline const std::string DefaultMasks = "*.jpg,*.jpeg,*.bmp,*.gif,*.ico,*.emf,*.wmf";

// The error window as the tool shows it without a terminal.
inline std::string Window(const std::string& text, bool logOpen = false) {
    return "\n[Vantrel_CL - Error] " + text +
           (logOpen ? "\nSee log file for details." : "\nSee output for details.") +
           " [OK] -> OK\n";
}

} // namespace expected
