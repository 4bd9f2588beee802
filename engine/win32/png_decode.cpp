#include "engine/png_codec.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

namespace {

// COM for the calling thread, for as long as one decoding takes: decoding runs on worker
// threads as well as the main one.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  // Usable when started here or already started in either model.
  bool Ready() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

template <class Interface>
class Held {
 public:
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  Interface** out() { return &pointer_; }
  void** untyped() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// Decodes the first frame of the PNG bytes into frame; false when WIC cannot.
bool DecodeFirstFrame(IWICImagingFactory* factory, const void* bytes, std::size_t size,
                      Held<IWICBitmapFrameDecode>& frame) {
  Held<IWICStream> stream;
  Held<IWICBitmapDecoder> decoder;
  return SUCCEEDED(factory->CreateStream(stream.out())) &&
         SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(static_cast<const BYTE*>(bytes)),
                                                static_cast<DWORD>(size))) &&
         SUCCEEDED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.out())) &&
         SUCCEEDED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)) &&
         SUCCEEDED(decoder->GetFrame(0, frame.out()));
}

}  // namespace

bool DecodePng(const void* bytes, std::size_t size, ImageArgb* image) {
  if (!IsPng(bytes, size) || size > MAXDWORD) return false;
  ComScope com;
  Held<IWICImagingFactory> factory;
  Held<IWICBitmapFrameDecode> frame;
  if (!com.Ready() ||
      FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, factory.untyped())) ||
      !DecodeFirstFrame(factory.get(), bytes, size, frame)) {
    return false;
  }
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 ||
      width > kMaxImageSide || height > kMaxImageSide) {
    return false;
  }
  // Straight (not premultiplied) BGRA bytes are ARGB words on a little-endian machine.
  Held<IWICBitmapSource> bgra;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), bgra.out()))) {
    return false;
  }
  ImageArgb decoded;
  decoded.width = static_cast<int>(width);
  decoded.height = static_cast<int>(height);
  decoded.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  const UINT stride = width * 4;
  if (FAILED(bgra->CopyPixels(nullptr, stride, stride * height,
                              reinterpret_cast<BYTE*>(decoded.pixels.data())))) {
    return false;
  }
  *image = std::move(decoded);
  return true;
}
