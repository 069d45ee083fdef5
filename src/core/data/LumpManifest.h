#pragma once

#include <cstdio>

class LumpWriter;

// Reads a text manifest of lumps (slfpack's input) into a lump writer.
//
// One directive per line. Blank lines and lines whose first non-blank character is '#' are
// ignored. Tokens are separated by blanks or tabs; a token in double quotes may hold blanks.
// File paths are relative to the manifest's directory. Lump names are 1 to 255 bytes; each name
// may appear once.
//
//   header TEXT
//       The 16 header bytes (longer text is cut).
//   image NAME FILE.png [X1 Y1 X2 Y2]...
//       IMAGE lump with the picture's RGBA bytes, top row first, compression flag 1, full
//       size = picture size, offsets 0. Each group of four numbers adds a frame rectangle.
//   trimmed NAME FILE.png
//       IMAGE lump of the picture less its fully clear rows and columns at the edges: the
//       offsets say where the rest sat and the full size is the picture's, so it draws where
//       it stood in the picture. A picture with nothing drawn is an error.
//   script NAME FILE
//       Script lump holding the file's bytes. Script packs name lumps by their path under
//       "Data/Scripts/", e.g. "Maps/Intro.lua".
//   mapinfo NAME TYPE
//       MAPINFO lump of a map type other than 1 (the type byte only).
//   mapinfo NAME 1 COLUMNS ROWS CHUNKWIDTH CHUNKHEIGHT PREFIX1 PREFIX2 CLIPPREFIX LEVELNUMBER LEVELNAME
//       MAPINFO lump of a line-art map: the chunk grid, chunk size (0 0 keeps 256 x 256), the
//       lump-name prefixes of the two image layers and of the clips, and the level's number
//       and name.
//   clip NAME COLUMNS ROWS
//   ...rows...
//   end
//       CLIP lump drawn as text: up to ROWS lines, top row first, one character per column,
//       '#' solid and any other character free. Missing rows and the ends of short lines
//       are free; characters beyond COLUMNS are an error.
//   spawns NAME
//   PRESET X Y
//   ...
//   end
//       SPAWNDAT lump: one line per spawn, the enemy preset name (at most 31 characters)
//       and its integer position.
//   palette NAME
//   base RRGGBB [RRGGBB]...
//   variant VARIANTNAME RRGGBB [RRGGBB]...
//   ...
//   end
//       PALETTE lump: the base colours, then any number of variants, each with exactly as
//       many colours as the base. Colours are six hexadecimal digits, '#' in front allowed.
//
// The first mistake stops the reading with "slfpack: MANIFEST:LINE: ..." on standard error and
// false; the writer then holds the lumps read before it. Image directives need Allegro and its
// image addon started by the caller. pManifestPath names the manifest in messages and gives the
// directory that relative paths start from.
bool ReadLumpManifest(FILE *pManifest, const char *pManifestPath, LumpWriter *pWriter);
