#pragma once

#include <string>

// How texture paths name image files. A texture path is an engine path (a data name or a "z:"
// path); what follows a "[", "]" or "|" in it says how the image is combined, as in
// "actors\ship.png[red_is_transparent]", and is no part of the file name.

// The path up to the first "[", "]" or "|".
std::string imageFilePart(const std::string& path);
// The image file of a texture path in engine form: a data name is resolved through the data
// folders (the language folder first), an absolute path stays as it is.
std::string imageFilePath(const std::string& path);
