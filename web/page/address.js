// A teacher's link: the page's address holds the boxes' texts, each under the
// name the module's tables give its box, so that copying the address shares
// the exercise. A text from the address goes into its box as if typed, and
// the next press reads it as any other.

// links: [name, box, initial text]; limit: the longest text a link may put in a box.
export function followAddress(links, limit) {
  const query = new URLSearchParams(location.search);
  for (const [name, box] of links) {
    // A name given twice leaves no telling which one was meant.
    const texts = query.getAll(name);
    if (texts.length === 1 && texts[0] !== '' && texts[0].length <= limit) box.value = texts[0];
  }
  // The address follows the boxes: each text that is not the box's initial
  // one, in place of what the address said; whatever else it holds stays.
  // One history entry, however much is typed.
  const write = () => {
    const next = new URLSearchParams(location.search);
    for (const [name, box, initial] of links) {
      next.delete(name);
      if (box.value !== initial) next.set(name, box.value);
    }
    const url = new URL(location.href);
    url.search = next.toString();
    if (url.href !== location.href) history.replaceState(history.state, '', url);
  };
  for (const [, box] of links) box.addEventListener('input', write);
}
