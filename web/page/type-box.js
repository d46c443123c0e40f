// The type box: an editable field with a drop-down list, as a combobox in
// the ARIA pattern. The field keeps exactly what is typed; picking an item
// writes the item's text into it. Alt+Down or Down opens the list, Up and
// Down move in it, Enter picks, Escape closes.

export function makeTypeBox(template, listId, control) {
  const box = template.content.firstElementChild.cloneNode(true);
  const field = box.querySelector('input');
  const button = box.querySelector('button');
  const list = box.querySelector('[role="listbox"]');
  list.id = listId;
  field.setAttribute('aria-controls', listId);
  field.value = control.text || '';
  if (control.background) {
    box.style.background = control.background;
    list.style.background = control.background;
  }
  const items = (control.list || []).map((text, i) => {
    const item = document.createElement('li');
    item.setAttribute('role', 'option');
    item.id = `${listId}-${i}`;
    item.textContent = text;
    item.addEventListener('pointerdown', (e) => e.preventDefault());
    item.addEventListener('click', () => {
      pick(i);
      close();
    });
    list.append(item);
    return item;
  });
  let active = -1;
  const isOpen = () => !list.hidden;
  function highlight(i) {
    active = i;
    items.forEach((item, j) => item.setAttribute('aria-selected', String(j === i)));
    if (i >= 0) field.setAttribute('aria-activedescendant', items[i].id);
    else field.removeAttribute('aria-activedescendant');
  }
  function pick(i) {
    field.value = items[i].textContent;
    field.dispatchEvent(new Event('input', { bubbles: true }));
  }
  function open() {
    list.hidden = false;
    field.setAttribute('aria-expanded', 'true');
    highlight(items.findIndex((item) => item.textContent === field.value));
  }
  function close() {
    list.hidden = true;
    field.setAttribute('aria-expanded', 'false');
    highlight(-1);
  }
  button.addEventListener('pointerdown', (e) => e.preventDefault());
  button.addEventListener('click', () => {
    if (isOpen()) close();
    else open();
    field.focus();
  });
  field.addEventListener('blur', close);
  field.addEventListener('input', () => {
    if (isOpen()) highlight(items.findIndex((item) => item.textContent === field.value));
  });
  field.addEventListener('keydown', (e) => {
    if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
      e.preventDefault();
      if (!isOpen()) {
        open();
        if (e.altKey) return;
      }
      if (e.altKey && e.key === 'ArrowUp') {
        if (active >= 0) pick(active);
        close();
        return;
      }
      const step = e.key === 'ArrowDown' ? 1 : -1;
      const next = active < 0 ? (step > 0 ? 0 : items.length - 1) : Math.min(items.length - 1, Math.max(0, active + step));
      highlight(next);
    } else if (e.key === 'Enter' && isOpen()) {
      e.preventDefault();
      if (active >= 0) pick(active);
      close();
    } else if (e.key === 'Escape' && isOpen()) {
      e.preventDefault();
      close();
    }
  });
  return [box, field];
}
