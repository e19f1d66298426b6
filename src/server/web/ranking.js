// The ranking page: places, names, totals and percentages, refreshed every few
// seconds; while the director hides the results, only the complete boards.
'use strict';
(function () {
  const texts = {
    en: { title: 'Ranking', place: 'Place', pair: 'Pair', names: 'Names', total: 'Total', pct: '%',
          hidden: 'The ranking is shown at the end of the evening.', complete: 'Boards complete: ',
          none: 'none', failed: 'No connection to the director\'s computer; trying again.' },
    sr: { title: 'Plasman', place: 'Mesto', pair: 'Par', names: 'Imena', total: 'Ukupno', pct: '%',
          hidden: 'Plasman se prikazuje na kraju večeri.', complete: 'Završeni bordovi: ',
          none: 'nijedan', failed: 'Nema veze sa računarom direktora; pokušavam ponovo.' },
  };
  function el(tag, cls, text) {
    const e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined && text !== null) e.textContent = String(text);
    return e;
  }
  let lang = 'en'; // as the server last said
  function show(data) {
    lang = data.lang;
    const t = texts[data.lang] || texts.en;
    document.title = t.title;
    const page = document.getElementById('page');
    page.replaceChildren(el('h1', '', t.title));
    if (data.shown) {
      const table = el('table');
      const head = el('tr');
      for (const [label, cls] of [[t.place, 'num'], [t.pair, 'num'], [t.names, ''], [t.total, 'num'], [t.pct, 'num']])
        head.append(el('th', cls, label));
      table.append(head);
      for (const p of data.pairs) {
        const row = el('tr');
        row.append(el('td', 'num', p.place), el('td', 'num', p.pair), el('td', '', p.names),
                   el('td', 'num', p.total.toFixed(2)), el('td', 'num', p.percent.toFixed(2)));
        table.append(row);
      }
      page.append(table);
    } else {
      page.append(el('p', '', t.hidden));
    }
    page.append(el('p', 'note', t.complete + (data.complete.length ? data.complete.join(', ') : t.none) +
                   ' (' + data.complete.length + '/' + data.boards + ')'));
  }
  function refresh() {
    fetch('/api/ranking', { cache: 'no-store' })
      .then(r => r.json())
      .then(show)
      .catch(() => {
        // One line while the server is away, in the page's language; the
        // ranking shown last stays until the server answers again.
        const page = document.getElementById('page');
        if (!page.querySelector('.error')) page.append(el('p', 'error', (texts[lang] || texts.en).failed));
      });
  }
  refresh();
  setInterval(refresh, 4000);
})();
