// An independent reading of the .ics and .vcf files mapipim writes, for the tests to compare with: ical.js parses
// the file and prints JSON on standard output.
//   node ical_oracle.mjs FILE.ics  -> [{uid, summary, start, zone, allDay, rrule, recurrenceId,
//                                       dates: [first 50 occurrences], occurrences: [the same with changes]}]
//   node ical_oracle.mjs FILE.vcf  -> [{fn, n, email: [...], tel: [[types, value]...], adr: [...], photo}]
//   node ical_oracle.mjs --write-ics FILE.ics  -> writes a small calendar made with ical.js itself (a weekly
//                                                series with one occurrence moved, and a task)
// Occurrences are the local dates ("YYYY-MM-DD") in the zone of DTSTART, EXDATEs removed, at most 50. "dates" walk
// the RRULE alone; "occurrences" are ical.js's own expansion of the event with its changed occurrences (the VEVENTs
// of the same UID with a RECURRENCE-ID) in their place: {date, start, summary} each.
import ICAL from 'ical.js';
import fs from 'node:fs';

const kMaxOccurrences = 50;

function pad(n) {
  return String(n).padStart(2, '0');
}

function dateText(time) {
  return `${time.year}-${pad(time.month)}-${pad(time.day)}`;
}

function readCalendar(text) {
  const root = new ICAL.Component(ICAL.parse(text));
  for (const zone of root.getAllSubcomponents('vtimezone'))
    ICAL.TimezoneService.register(zone);
  const items = [...root.getAllSubcomponents('vevent'), ...root.getAllSubcomponents('vtodo')];
  const changesByUid = new Map();
  for (const item of items) {
    if (!item.hasProperty('recurrence-id'))
      continue;
    const uid = item.getFirstPropertyValue('uid');
    changesByUid.set(uid, [...(changesByUid.get(uid) ?? []), item]);
  }
  return items.map((item) => {
    const start = item.getFirstPropertyValue('dtstart');
    const rrule = item.getFirstPropertyValue('rrule');
    const result = {
      uid: item.getFirstPropertyValue('uid'),
      kind: item.name,
      summary: item.getFirstPropertyValue('summary'),
      start: start ? start.toString() : null,
      startUnix: start && !start.isDate ? start.toUnixTime() : null,
      zone: item.getFirstProperty('dtstart')?.getParameter('tzid') ?? null,
      allDay: start ? start.isDate : null,
      rrule: rrule ? rrule.toString() : null,
      exdates: item.getAllProperties('exdate').map((p) => dateText(p.getFirstValue())),
      recurrenceId: item.getFirstPropertyValue('recurrence-id')?.toString() ?? null,
      dates: [],
      occurrences: [],
    };
    if (start && rrule) {
      const excluded = new Set(result.exdates);
      const iterator = new ICAL.RecurIterator({ rule: rrule, dtstart: start });
      for (let next = iterator.next(), guard = 0; next && result.dates.length < kMaxOccurrences && guard < 100000;
           next = iterator.next(), ++guard) {
        const day = dateText(next);
        if (!excluded.has(day))
          result.dates.push(day);
      }
      const event = new ICAL.Event(item, { exceptions: changesByUid.get(result.uid) ?? [] });
      const occurrences = event.iterator();
      for (let next = occurrences.next(), guard = 0; next && result.occurrences.length < kMaxOccurrences &&
           guard < 100000; next = occurrences.next(), ++guard) {
        const details = event.getOccurrenceDetails(next);
        result.occurrences.push({ date: dateText(details.startDate), start: details.startDate.toString(),
                                  summary: details.item.summary });
      }
    }
    return result;
  });
}

function readCards(text) {
  const parsed = ICAL.parse(text);
  const cards = Array.isArray(parsed[0]) ? parsed : [parsed];
  return cards.map((jcard) => {
    const card = new ICAL.Component(jcard);
    const types = (p) => [].concat(p.getParameter('type') ?? []).join(',').toLowerCase();
    return {
      fn: card.getFirstPropertyValue('fn'),
      n: card.getFirstPropertyValue('n'),
      email: card.getAllProperties('email').map((p) => p.getFirstValue()),
      tel: card.getAllProperties('tel').map((p) => [types(p), p.getFirstValue()]),
      adr: card.getAllProperties('adr').map((p) => [types(p), p.getFirstValue()]),
      bday: card.getFirstPropertyValue('bday')?.toString() ?? null,
      note: card.getFirstPropertyValue('note'),
      photo: card.getFirstPropertyValue('photo'),
    };
  });
}

function writeCalendar(path) {
  const calendar = new ICAL.Component(['vcalendar', [], []]);
  calendar.updatePropertyWithValue('prodid', '-//ical.js oracle//EN');
  calendar.updatePropertyWithValue('version', '2.0');
  const event = new ICAL.Event(new ICAL.Component('vevent'));
  event.uid = 'oracle-1';
  event.summary = 'Written by ical.js; with, punctuation';
  event.startDate = ICAL.Time.fromDateTimeString('2026-03-02T09:30:00Z');
  event.endDate = ICAL.Time.fromDateTimeString('2026-03-02T10:45:00Z');
  event.component.addPropertyWithValue('rrule', ICAL.Recur.fromString('FREQ=WEEKLY;BYDAY=MO,WE;COUNT=6'));
  calendar.addSubcomponent(event.component);
  const moved = new ICAL.Event(new ICAL.Component('vevent'));
  moved.uid = 'oracle-1';
  moved.recurrenceId = ICAL.Time.fromDateTimeString('2026-03-04T09:30:00Z');
  moved.summary = 'Moved by ical.js';
  moved.startDate = ICAL.Time.fromDateTimeString('2026-03-05T14:00:00Z');
  moved.endDate = ICAL.Time.fromDateTimeString('2026-03-05T15:00:00Z');
  calendar.addSubcomponent(moved.component);
  const todo = new ICAL.Component('vtodo');
  todo.addPropertyWithValue('uid', 'oracle-2');
  todo.addPropertyWithValue('summary', 'A task from ical.js');
  todo.addPropertyWithValue('due', ICAL.Time.fromDateString('2026-04-01'));
  todo.addPropertyWithValue('percent-complete', 40);
  todo.addPropertyWithValue('status', 'IN-PROCESS');
  calendar.addSubcomponent(todo);
  fs.writeFileSync(path, calendar.toString());
}

const args = process.argv.slice(2);
if (args[0] === '--write-ics') {
  writeCalendar(args[1]);
} else {
  const text = fs.readFileSync(args[0], 'utf8');
  const result = args[0].endsWith('.vcf') ? readCards(text) : readCalendar(text);
  process.stdout.write(JSON.stringify(result));
}
