// Controls of the D3DX 9 stand-in that D3DX itself does not have.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Decoding ahead. The loaders (D3DXCreateTextureFromFileInMemory,
// D3DXCreateCubeTextureFromFileInMemory, D3DXLoadMeshFromXInMemory) decode
// their file on the calling thread before they fill device resources. A
// caller that knows which files come next can have them decoded earlier, on
// a thread of its own:
// - D3DX_StartDecodingAhead: from now on the loaders note each file they
//   decode, and look for it among the files decoded ahead first;
// - D3DX_DecodeAhead, on any thread: decodes one picture or X file there and
//   keeps the result. The loader later given the same bytes takes it instead
//   of decoding again, and waits while it is still being decoded. A file a
//   loader has already taken, or decoded itself, is not decoded again. DDS
//   files are left to the loaders, since what they decode to depends on the
//   device. For an X file, `textureFiles` (when given) receives the texture
//   file names its materials give, which its loader's caller is likely to
//   load next;
// - D3DX_StopDecodingAhead: drops what no loader took; the loaders decode
//   everything themselves again.
void D3DX_StartDecodingAhead();
void D3DX_DecodeAhead(const void* data, size_t size, std::vector<std::string>* textureFiles = nullptr);
void D3DX_StopDecodingAhead();

// The shader cache D3DXCompileShader takes translated sources from
// (shader_cache.h): "shaders.cache" in the working folder unless set here,
// read at the first compile after. An empty path uses no cache.
void D3DX_UseShaderCache(const char* path);
// How many translations the cache holds (0 without a usable cache file).
size_t D3DX_ShaderCacheSize();
