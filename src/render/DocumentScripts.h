#pragma once

#include <QString>

namespace trawlix {

// Scrolls the page to its end; gives [document height, number of images].
QString ScrollScript();
// Gives {photos: [...], pages: [...]} read from the live document: each image's source (the
// largest srcset candidate when it has one), picture sources, CSS background images, and
// every a[href], resolved by the browser, each list bounded.
QString ReadLinksScript(int mostPhotos, int mostPages, int longestAddress);

}  // namespace trawlix
