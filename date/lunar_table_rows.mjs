// Prints rows of date/lunar_table.cpp from the Korea Astronomy and Space Science Institute's
// lunar calendar, as the npm package korean-lunar-calendar carries it (solar dates up to
// 2050-12-31, lunar dates up to 2050-11-18).
//
//   mkdir /tmp/klc && cd /tmp/klc && npm install korean-lunar-calendar
//   node <repository>/date/lunar_table_rows.mjs [FIRST [LAST]]
//
// The package is looked up from the current folder. Prints the LunarMonthCodes rows of lunar
// years FIRST..LAST (default: 2044 to the last lunar year the data holds to its end), then the
// whole LunarCumDays for 1841..LAST. Run with 1841 2043 to compare with the rows the table had.
// The rows 2044-2049 came from korean-lunar-calendar 0.4.0.
import { createRequire } from "node:module";
import path from "node:path";

let KoreanLunarCalendar;
try {
    KoreanLunarCalendar = createRequire(path.join(process.cwd(), "package.json"))("korean-lunar-calendar");
} catch {
    console.error("korean-lunar-calendar is not installed here: run from the folder of `npm install korean-lunar-calendar`");
    process.exit(2);
}
const calendar = new KoreanLunarCalendar();

const TABLE_FIRST_YEAR = 1841;
const BASE_DAY = 672068;  // solar day number of 22 January 1841, the day before lunar 1841-01-01

// The package refuses a day it has no data for, so probing day 30, then 29, gives the length.
function monthLength(year, month, leap) {
    if (calendar.setLunarDate(year, month, 30, leap)) return 30;
    if (calendar.setLunarDate(year, month, 29, leap)) return 29;
    return 0;
}

// The table's code: 1 = 29, 2 = 30, 3 = 29 + leap 29, 4 = 29 + leap 30, 5 = 30 + leap 29, 6 = 30 + leap 30.
function yearCodes(year) {
    const codes = [];
    for (let month = 1; month <= 12; ++month) {
        const days = monthLength(year, month, false);
        if (days === 0) return null;  // past the end of the data
        const hasLeap = calendar.setLunarDate(year, month, 1, true);
        const leapDays = hasLeap ? monthLength(year, month, true) : 0;
        if (hasLeap && leapDays === 0) return null;
        codes.push(leapDays === 0 ? days - 28 : 3 + (days === 30 ? 2 : 0) + (leapDays === 30 ? 1 : 0));
    }
    return codes;
}

function codeDays(code) {
    return [0, 29, 30, 58, 59, 59, 60][code];
}

// Days from 1 January of year 1 (day 1), proleptic Gregorian, as the table counts them.
function dayNumber({ year, month, day }) {
    const p = year - 1;
    let n = 365 * p + Math.floor(p / 4) - Math.floor(p / 100) + Math.floor(p / 400);
    const leap = (year % 4 === 0 && year % 100 !== 0) || year % 400 === 0;
    const lengths = [31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31];
    for (let m = 1; m < month; ++m) n += lengths[m - 1];
    return n + day;
}

// A year counts only when the data holds its last day, i.e. the next year's first day too.
function lastCompleteYear() {
    let year = TABLE_FIRST_YEAR;
    while (yearCodes(year + 1) !== null && calendar.setLunarDate(year + 2, 1, 1, false)) ++year;
    return year;
}

const complete = lastCompleteYear();
const first = Number(process.argv[2] ?? 2044);
const last = Number(process.argv[3] ?? complete);
if (!(first >= TABLE_FIRST_YEAR && first <= last && last <= complete)) {
    console.error(`years must lie in ${TABLE_FIRST_YEAR}..${complete}, first before last`);
    process.exit(2);
}

// The month lengths must put every New Year, and the day after the last year, where the
// package's own conversion puts them.
function checkNewYear(year, daysBefore) {
    calendar.setLunarDate(year, 1, 1, false);
    if (BASE_DAY + daysBefore + 1 !== dayNumber(calendar.getSolarCalendar())) {
        console.error(`lunar ${year}-01-01: month lengths and solar dates of the data disagree`);
        process.exit(1);
    }
}

const cumDays = [];
let sum = 0;
for (let year = TABLE_FIRST_YEAR; year <= last; ++year) {
    checkNewYear(year, sum);
    const codes = yearCodes(year);
    sum += codes.reduce((days, code) => days + codeDays(code), 0);
    cumDays.push(sum);
    if (year >= first) console.log(`    {${codes.join(", ")}},  // ${year}`);
}
checkNewYear(last + 1, sum);
console.log(`// LunarCumDays ${TABLE_FIRST_YEAR}..${last}, the last entry: solar day ${BASE_DAY + sum}`);
for (let k = 0; k < cumDays.length; k += 16) {
    console.log("    " + cumDays.slice(k, k + 16).map((n) => `${n},`.padEnd(6)).join(" ").trimEnd());
}
