#include "ui/Pictures.h"

namespace {

fw::Ref<fw::Picture> Cached(fw::Ref<fw::Picture>& cache, const char* fileName) {
  if (cache.IsNil()) cache = fw::RuntimeGetPictureFromResourceManager(fileName);
  return cache;
}

}  // namespace

fw::Ref<fw::Picture> Tessivar() {
  static fw::Ref<fw::Picture> cache;
  return Cached(cache, "Tessivar.png");
}

fw::Ref<fw::Picture> NumBlocks() {
  static fw::Ref<fw::Picture> cache;
  return Cached(cache, "NumBlocks.png");
}
