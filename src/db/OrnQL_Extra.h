#pragma once

#include <string>

// Picture files of records: one 24-bit BMP per record, named by the record's id, in a fixed
// directory per kind of picture (for example "Data/WordImages/Mnemonic/"). Directory arguments
// end with '/'. (A record removes its own picture with OrnQL_Base::deleteImageFile.)

// The picture file name of record id in directory: directory + id + ".bmp".
std::string picturePath(unsigned id, const char* directory);
// The same name in one buffer that the next call overwrites; copy it to keep it.
const char* createPathById(unsigned id, const char* directory);

// Results of copyBitmap.
enum CopyBitmapResult { COPY_DONE = 0, COPY_NO_ORIGINAL = 1, COPY_NO_DESTINATION = 2 };

// Copies the file `original` byte for byte to destinationPath + idOfParent + ".bmp", replacing
// an existing picture whole (also when the original is that very file). Returns 0 on success,
// 1 if the original cannot be read, 2 if the destination cannot be written; throws nothing.
int copyBitmap(const char* original, const char* destinationPath, unsigned idOfParent);
