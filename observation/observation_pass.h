// Once a tick: is an encyclopaedia page in view in some browser? A positive
// pass leaves graceTicks at full and the page's title in currentArticle. The
// shell hands this to the clock as clockCollaborators.observationPass.
#pragma once

// Tries, cheapest first, and stops at the first that sees a page: the
// remembered Firefox helper file, the cached address bar through its route,
// every Firefox profile's helper file, every top-level browser window.
void ObservationPass();
