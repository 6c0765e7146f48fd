#include "render/DocumentScripts.h"

namespace trawlix {

QString ScrollScript() {
  return QStringLiteral(R"((() => {
  const root = document.scrollingElement || document.documentElement;
  if (!root) return [0, 0];
  window.scrollTo(0, root.scrollHeight);
  return [root.scrollHeight, document.images.length];
})())");
}

QString ReadLinksScript(int mostPhotos, int mostPages, int longestAddress) {
  // Elements whose computed background is read: the style of each one costs a layout query.
  constexpr int kMostStyledElements = 20000;
  return QStringLiteral(R"((() => {
  const mostPhotos = %1, mostPages = %2, longest = %3, mostStyled = %4;
  const photos = [], pages = [], seen = new Set();
  const keep = (list, most, text) => {
    if (typeof text !== 'string' || text.length === 0 || text.length > longest) return;
    if (list.length >= most || seen.has(text)) return;
    seen.add(text);
    list.push(text);
  };
  const absolute = (text) => {
    try { return new URL(text, document.baseURI).href; } catch (e) { return null; }
  };
  const largest = (srcset) => {
    let best = null, bestSize = -1;
    for (const part of (srcset || '').split(/,\s+/)) {
      const bits = part.trim().split(/\s+/);
      if (!bits[0]) continue;
      const size = bits.length > 1 ? parseFloat(bits[1]) : 1;
      if ((isNaN(size) ? 1 : size) > bestSize) { bestSize = isNaN(size) ? 1 : size; best = bits[0]; }
    }
    return best === null ? null : absolute(best);
  };
  for (const img of document.images) {
    keep(photos, mostPhotos, largest(img.getAttribute('srcset')) || img.currentSrc || img.src);
  }
  for (const source of document.querySelectorAll('picture source[srcset]')) {
    keep(photos, mostPhotos, largest(source.getAttribute('srcset')));
  }
  const all = document.querySelectorAll('*');
  for (let i = 0; i < all.length && i < mostStyled && photos.length < mostPhotos; ++i) {
    const background = getComputedStyle(all[i]).backgroundImage;
    if (!background || background === 'none') continue;
    for (const match of background.matchAll(/url\(\s*(['"]?)(.*?)\1\s*\)/g)) {
      keep(photos, mostPhotos, absolute(match[2]));
    }
  }
  for (const a of document.querySelectorAll('a[href]')) keep(pages, mostPages, a.href);
  return {photos: photos, pages: pages};
})())")
      .arg(mostPhotos)
      .arg(mostPages)
      .arg(longestAddress)
      .arg(kMostStyledElements);
}

}  // namespace trawlix
