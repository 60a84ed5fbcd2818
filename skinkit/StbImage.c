#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
/* Skins are small: refuse images larger than 8192 pixels on a side. */
#define STBI_MAX_DIMENSIONS 8192
#include <stb_image.h>

#include "skinkit/StbImage.h"

unsigned char* SkinDecodeRgba(const unsigned char* data, int size, int* width, int* height) {
  int channels = 0;
  return stbi_load_from_memory(data, size, width, height, &channels, 4);
}

void SkinFreeRgba(unsigned char* pixels) { stbi_image_free(pixels); }
