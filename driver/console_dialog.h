// The console dialog: the input file, the graphics set and the extension that
// the HTML document gives the pictures.
#pragma once

#include <string>

#include "bdcff/text_lines.h"

extern TextLines InputFile;
extern TextLines GraphicsFile;
extern std::string InputFileName; // the names the two files were opened by
extern std::string GraphicsFileName;
extern std::string PictureExtension; // "bmp", "gif" or "png" once the dialog has run

// Asks the three questions, opens the input and graphics files and sets the
// picture extension, then prints the separator line. Every failure ends the run.
void RunDialog();
