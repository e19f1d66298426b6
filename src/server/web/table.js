// The table page: the table's round, its boards and results as the server has
// them; a contract, declarer and tricks give the score, and EW accept it.
// Everything is put into the page as text (textContent), never as markup.
'use strict';
(function () {
  const T = {
    en: { table: 'Table', round: 'Round', board: 'Board', dealer: 'Dealer', vul: 'Vul.',
          None: 'none', NS: 'NS', EW: 'EW', All: 'all', contract: 'Contract', pass: 'Passed out',
          declarer: 'Declarer', result: 'Result', lead: 'Opening lead (optional)', score: 'Score',
          enter: 'Show the score', accept: 'Accept (EW)', accepted: 'Accepted', waiting: 'Waiting for EW to accept',
          correct: 'Correct', cancel: 'Cancel', nsPair: 'Number of the NS pair:', confirm: 'Confirm',
          swap: 'We sit the other way round', finished: 'This table has finished. Thank you!',
          next: 'Next round', goes: 'goes to table', sitsOut: 'sits out', roundDone: 'Round complete',
          failed: 'No connection to the director\'s computer; trying again.', pair: 'Pair',
          sitting: 'Sitting NS:', travellers: 'Travellers of round', adjusted: 'adjusted score',
          noResults: 'no results yet', byDirector: 'Entered by the director',
          otherPair: 'Another NS pair? Its number:', goesTo: 'goes to the table of pair' },
    sr: { table: 'Sto', round: 'Kolo', board: 'Bord', dealer: 'Deli', vul: 'Zona',
          None: 'niko', NS: 'SJ', EW: 'IZ', All: 'svi', contract: 'Ugovor', pass: 'Sva pas',
          declarer: 'Igrač', result: 'Rezultat', lead: 'Napad (nije obavezno)', score: 'Rezultat',
          enter: 'Prikaži rezultat', accept: 'Prihvati (IZ)', accepted: 'Prihvaćeno', waiting: 'Čeka potvrdu IZ',
          correct: 'Ispravi', cancel: 'Odustani', nsPair: 'Broj para SJ:', confirm: 'Potvrdi',
          swap: 'Sedimo obrnuto', finished: 'Ovaj sto je završio. Hvala!',
          next: 'Sledeće kolo', goes: 'ide za sto', sitsOut: 'pauzira', roundDone: 'Kolo završeno',
          failed: 'Nema veze sa računarom direktora; pokušavam ponovo.', pair: 'Par',
          sitting: 'SJ sedi:', travellers: 'Putni listići kola', adjusted: 'dodeljen rezultat',
          noResults: 'još nema rezultata', byDirector: 'Uneo direktor',
          otherPair: 'Drugi par SJ? Njegov broj:', goesTo: 'ide za sto para' },
  };
  const SUITS = [['C', '♣'], ['D', '♦'], ['H', '♥'], ['S', '♠'], ['N', 'NT']];
  const table = Number(location.pathname.split('/')[2]);
  const key = new URLSearchParams(location.search).get('k') || '';
  const q = '?k=' + encodeURIComponent(key);
  let data = null;
  let t = T.en;
  let editing = null; // {board, level, strain, doubling, declarer, tricks, lead suit/rank}
  let message = '';

  function el(tag, cls, text) {
    const e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined && text !== null) e.textContent = String(text);
    return e;
  }
  function button(text, on, action, cls) {
    const b = el('button', (on ? 'on ' : '') + (cls || ''), text);
    b.type = 'button';
    b.addEventListener('click', action);
    return b;
  }
  function api(path, body) {
    const init = body === undefined ? { cache: 'no-store' }
      : { method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body) };
    return fetch('/api/table/' + table + path + q, init).then(r =>
      r.json().then(j => { if (!r.ok) throw new Error(j.error || String(r.status)); return j; }));
  }
  function load() {
    return api('').then(j => { data = j; t = T[j.lang] || T.en; message = ''; render(); })
      .catch(e => { message = e.message === 'Failed to fetch' ? t.failed : e.message; render(); });
  }
  // A refusal is said above the table as the server has it now (the director
  // may have entered the board meanwhile).
  function refused(err) {
    const said = err.message === 'Failed to fetch' ? t.failed : err.message;
    return load().then(() => { message = said; render(); });
  }
  function contractText(r) {
    if (r.contract === 'PASS') return t.pass;
    const m = /^([1-7])([CDHSN])(X{0,2})$/.exec(r.contract);
    if (!m) return r.contract;
    const suit = SUITS.find(s => s[0] === m[2])[1];
    const made = r.tricks - 6 - Number(m[1]);
    return m[1] + suit + m[3] + ' ' + r.declarer + ' ' + (made === 0 ? '=' : (made > 0 ? '+' : '') + made);
  }
  // The travellers of the round just completed, when the director allows them.
  function renderTravellers(tr) {
    const box = el('div', 'travellers');
    box.append(el('h2', '', t.travellers + ' ' + tr.round));
    for (const b of tr.boards) {
      const card = el('section', 'board');
      card.append(el('h2', '', t.board + ' ' + b.board));
      if (!b.results.length) card.append(el('div', 'note', t.noResults));
      for (const r of b.results) {
        const line = el('div', 'row');
        line.append(el('span', '', t.NS + ' ' + r.ns + ' – ' + t.EW + ' ' + r.ew));
        if (r.adjusted) line.append(el('span', 'note', t.adjusted));
        else {
          if (r.contract) line.append(el('span', '', contractText(r)));
          line.append(el('span', 'score', r.nsScore));
        }
        card.append(line);
      }
      box.append(card);
    }
    return box;
  }
  function renderEntry(card, b) {
    const e = editing;
    const levels = el('div', 'row');
    for (let l = 1; l <= 7; ++l) levels.append(button(l, e.level === l, () => { e.level = l; e.tricks = null; render(); }));
    levels.append(button(t.pass, e.level === 0, () => { e.level = 0; render(); }));
    card.append(el('div', 'note', t.contract), levels);
    if (e.level > 0) {
      const strains = el('div', 'row');
      for (const [s, sign] of SUITS)
        strains.append(button(sign, e.strain === s, () => { e.strain = s; render(); }, s === 'D' || s === 'H' ? 'red' : ''));
      for (const [d, label] of [['', '—'], ['X', 'X'], ['XX', 'XX']])
        strains.append(button(label, e.doubling === d, () => { e.doubling = d; render(); }));
      const declarers = el('div', 'row');
      for (const d of ['N', 'E', 'S', 'W']) declarers.append(button(d, e.declarer === d, () => { e.declarer = d; render(); }));
      const results = el('div', 'row');
      const need = e.level + 6;
      for (let tricks = 13; tricks >= 0; --tricks) {
        const diff = tricks - need;
        results.append(button(diff === 0 ? '=' : (diff > 0 ? '+' : '') + diff, e.tricks === tricks,
                              () => { e.tricks = tricks; render(); }));
      }
      const lead = el('div', 'row');
      for (const [s, sign] of SUITS.slice(0, 4))
        lead.append(button(sign, e.leadSuit === s, () => { e.leadSuit = e.leadSuit === s ? null : s; render(); }, s === 'D' || s === 'H' ? 'red' : ''));
      const ranks = el('div', 'row');
      for (const r of 'AKQJT98765432')
        ranks.append(button(r === 'T' ? '10' : r, e.leadRank === r, () => { e.leadRank = e.leadRank === r ? null : r; render(); }));
      card.append(strains, el('div', 'note', t.declarer), declarers, el('div', 'note', t.result), results,
                  el('div', 'note', t.lead), lead, ranks);
    }
    const ready = e.level === 0 || (e.level > 0 && e.strain && e.declarer && e.tricks !== null);
    const go = button(t.enter, false, () => {
      const body = { board: b.board, contract: e.level === 0 ? 'PASS' : e.level + e.strain + e.doubling };
      if (e.level > 0) { body.declarer = e.declarer; body.tricks = e.tricks; }
      if (e.level > 0 && e.leadSuit && e.leadRank) body.lead = e.leadSuit + e.leadRank;
      api('/result', body).then(() => { editing = null; return load(); })
        .catch(refused);
    }, 'main');
    go.disabled = !ready;
    card.append(el('div', 'row'), go, button(t.cancel, false, () => { editing = null; render(); }));
  }
  function renderBoard(b) {
    const card = el('section', 'board' + (b.result ? (b.result.accepted ? ' accepted' : ' waiting') : ''));
    const head = el('h2', '', t.board + ' ' + b.board + '  ');
    head.append(el('span', 'note', t.dealer + ' ' + b.dealer + ', ' + t.vul + ' '),
                el('span', b.vulnerable === 'None' ? 'note' : 'vul', t[b.vulnerable]));
    card.append(head);
    if (editing && editing.board === b.board) { renderEntry(card, b); return card; }
    if (b.result && b.result.director) {
      card.append(el('div', '', t.byDirector));
      card.append(el('div', 'score', b.result.adjusted ? t.adjusted
        : t.score + ' NS: ' + (b.result.nsScore === null ? '—' : b.result.nsScore)));
    } else if (b.result) {
      card.append(el('div', '', contractText(b.result) + (b.result.lead ? '  (' + b.result.lead + ')' : '')));
      card.append(el('div', 'score', t.score + ' NS: ' + b.result.nsScore));
      const row = el('div', 'row');
      if (!b.result.accepted) {
        row.append(el('span', 'note', t.waiting));
        row.append(button(t.accept, false, () => {
          api('/accept', { board: b.board, nsScore: b.result.nsScore }).then(load).catch(refused);
        }, 'main'));
      } else {
        row.append(el('span', 'note', t.accepted + ' ✓'));
      }
      row.append(button(t.correct, false, () => { editing = { board: b.board, level: null, strain: null, doubling: '', declarer: null, tricks: null }; render(); }));
      card.append(row);
    } else {
      card.append(button(t.contract + '…', false, () => { editing = { board: b.board, level: null, strain: null, doubling: '', declarer: null, tricks: null }; render(); }, 'main'));
    }
    return card;
  }
  // The NS pair's number, as a custom movement's table gives it.
  function pairForm(label) {
    const form = el('div', 'row');
    const input = el('input');
    input.type = 'number'; input.min = 1; input.inputMode = 'numeric';
    form.append(el('label', '', label), input,
                button(t.confirm, false, () => api('/start', { ns: Number(input.value) }).then(load)
                  .catch(err => { message = err.message; render(); }), 'main'));
    return form;
  }
  function render() {
    const page = document.getElementById('page');
    page.replaceChildren();
    if (message) page.append(el('p', 'error', message));
    if (!data) return;
    document.title = t.table + ' ' + data.table;
    page.append(el('h1', '', t.table + ' ' + data.table + (data.round ? ' — ' + t.round + ' ' + data.round : '')));
    if (data.moved) {
      const box = el('div', 'moves');
      box.append(el('h2', '', t.roundDone + ' (' + t.round + ' ' + data.moved.round + ')'));
      for (const m of data.moved.moves)
        box.append(el('div', '', t.pair + ' ' + m.pair + ' ' + (m.table ? t.goes + ' ' + m.table + ' ' + t[m.side]
          : m.tableOf ? t.goesTo + ' ' + m.tableOf + ' ' + t[m.side] : t.sitsOut)));
      page.append(box);
    }
    if (!data.seated) {
      const box = el('div', 'pairs');
      box.append(pairForm(t.nsPair));
      page.append(box);
      return;
    }
    if (!data.round) {
      page.append(el('p', '', t.finished));
      if (data.travellers) page.append(renderTravellers(data.travellers));
      return;
    }
    const pairs = el('div', 'pairs');
    pairs.append(el('div', '', t.NS + ' ' + data.ns + ': ' + data.nsNames),
                 el('div', '', t.EW + ' ' + data.ew + ': ' + data.ewNames));
    if (data.inverted) pairs.append(el('div', 'vul', t.sitting + ' ' + data.ew));
    if (data.swap)
      pairs.append(button(t.swap, data.inverted, () => api('/start', { ns: data.inverted ? data.ns : data.ew })
        .then(load).catch(err => { message = err.message; render(); })));
    if (data.otherPair) pairs.append(pairForm(t.otherPair));
    page.append(pairs);
    for (const b of data.boards) page.append(renderBoard(b));
    if (data.next) page.append(el('p', 'note', t.next + ': ' + t.NS + ' ' + data.next.ns + ', ' + t.EW + ' ' + data.next.ew +
                                  ', ' + t.board + ' ' + data.next.boards[0] + '-' + data.next.boards[1]));
    if (data.travellers) page.append(renderTravellers(data.travellers));
  }
  document.addEventListener('visibilitychange', () => { if (!document.hidden && !editing) load(); });
  setInterval(() => { if (!editing) load(); }, 15000);
  load();
})();
