#pragma once
// The two stb_image calls the toolkit makes, compiled in StbImage.c so that
// the library's own code stays out of our C++ warning set.

#ifdef __cplusplus
extern "C" {
#endif

// 8-bit RGBA rows, top-down; null when the bytes do not decode.
unsigned char* SkinDecodeRgba(const unsigned char* data, int size, int* width, int* height);
void SkinFreeRgba(unsigned char* pixels);

#ifdef __cplusplus
}
#endif
