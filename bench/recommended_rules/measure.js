// Measures textlint rules against the business mails of tests/fixtures/business_mails: for
// each candidate rule alone, and for the recommended set, the findings per mail, how many of
// them a careful writer would act on (expected.json names them) and which planted mistakes
// were found. The mails reach textlint as the plug-in hands them over by default: quoted
// lines and the signature (from the last "-- " line) are blank lines.
//
// node measure.js --textlint DIR [--candidates] [--check]
//   DIR holds node_modules with textlint and the rules (tools/textlint after npm ci).
//   --candidates also measures every rule of candidates.json alone.
//   --check exits 1 when the recommended set misses a planted mistake or raises more false
//   alarms than its bound; the test suite runs it so.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');

const here = __dirname;
const mailsDir = path.join(here, '..', '..', 'tests', 'fixtures', 'business_mails');
const args = process.argv.slice(2);
const textlintDir = args[args.indexOf('--textlint') + 1];
if (!args.includes('--textlint') || !textlintDir) {
    console.error('usage: node measure.js --textlint DIR [--candidates] [--check]');
    process.exit(2);
}
const textlintJs = path.join(textlintDir, 'node_modules', 'textlint', 'bin', 'textlint.js');

const expected = JSON.parse(fs.readFileSync(path.join(here, 'expected.json'), 'utf8'));
const recommended = JSON.parse(fs.readFileSync(path.join(here, 'recommended.json'), 'utf8'));

// The plug-in's defaults: lines opening with > or ＞ and the signature are left out, each
// kept as an empty line so that line numbers stay those of the mail.
function asChecked(text) {
    const lines = text.split('\n');
    let signature = -1;
    lines.forEach((line, i) => {
        if (line === '-- ' || line === '--') signature = i;
    });
    return lines
        .map((line, i) =>
            (signature >= 0 && i >= signature) || /^[>＞]/.test(line) ? '' : line)
        .join('\n');
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quill-rules-'));
const mailNames = fs.readdirSync(mailsDir).filter((n) => n.endsWith('.txt')).sort();
for (const name of mailNames)
    fs.writeFileSync(path.join(work, name),
                     asChecked(fs.readFileSync(path.join(mailsDir, name), 'utf8')));

// Runs textlint with `rules` over every mail: findings by mail name.
function lint(rules) {
    const config = path.join(work, 'config.json');
    fs.writeFileSync(config, JSON.stringify({ rules }));
    let out;
    try {
        out = execFileSync(process.execPath,
                           [textlintJs, '--no-color', '-c', config, '-f', 'json',
                            ...mailNames.map((n) => path.join(work, n))],
                           { cwd: textlintDir, encoding: 'utf8', maxBuffer: 64 << 20 });
    } catch (e) {
        // textlint exits 1 when it reports findings; anything else is a failure.
        if (e.status !== 1 || !e.stdout) throw e;
        out = e.stdout;
    }
    const byMail = {};
    for (const result of JSON.parse(out))
        byMail[path.basename(result.filePath)] = result.messages.map((m) => ({
            rule: m.ruleId, line: m.line, column: m.column,
            message: m.message.split("\n")[0] }));
    return byMail;
}

// A finding is kept when expected.json lists its rule (or its preset's short name) at its
// line for that mail.
function isKept(mail, finding) {
    return (expected[mail] || []).some((e) =>
        e.line === finding.line &&
        (finding.rule === e.rule || finding.rule.startsWith(e.rule + '/')));
}

function measure(rules) {
    const byMail = lint(rules);
    const ruleNames = Object.keys(rules).map((r) => r.replace(/^preset-/, ''));
    let findings = 0, kept = 0;
    const falseAlarms = [];
    const missed = [];
    for (const mail of mailNames) {
        for (const f of byMail[mail] || []) {
            ++findings;
            if (isKept(mail, f)) ++kept;
            else falseAlarms.push(`${mail}:${f.line}:${f.column} ${f.rule}: ${f.message}`);
        }
        for (const e of expected[mail] || []) {
            if (!ruleNames.includes(e.rule)) continue;
            const found = (byMail[mail] || []).some((f) =>
                f.line === e.line && (f.rule === e.rule || f.rule.startsWith(e.rule + '/')));
            if (!found) missed.push(`${mail}:${e.line} ${e.rule}`);
        }
    }
    return { findings, kept, falseAlarms, missed };
}

function line(label, m) {
    const n = mailNames.length;
    return `${label.padEnd(52)} findings ${String(m.findings).padStart(3)} ` +
        `(${(m.findings / n).toFixed(2)}/mail)  kept ${String(m.kept).padStart(2)}  ` +
        `false alarms ${String(m.falseAlarms.length).padStart(3)}  missed ${m.missed.length}`;
}

console.log(`${mailNames.length} mails (${mailNames.filter((n) => /^m/.test(n)).length} with planted mistakes)`);
if (args.includes('--candidates')) {
    const candidates = JSON.parse(fs.readFileSync(path.join(here, 'candidates.json'), 'utf8'));
    for (const [label, rule] of Object.entries(candidates)) {
        const m = measure(rule);
        console.log(line(label, m));
        for (const a of m.falseAlarms.slice(0, 6)) console.log(`    false alarm ${a}`);
        if (m.falseAlarms.length > 6) console.log(`    ... and ${m.falseAlarms.length - 6} more`);
        for (const a of m.missed) console.log(`    missed ${a}`);
    }
}
const set = measure(recommended.rules);
console.log(line('recommended set', set));
for (const a of set.falseAlarms) console.log(`    false alarm ${a}`);
for (const a of set.missed) console.log(`    missed ${a}`);
const ordinary = mailNames.filter((n) => !/^m/.test(n)).length;
console.log(`kept findings per mail ${(set.kept / mailNames.length).toFixed(2)}, ` +
            `false alarms per ordinary mail ${(set.falseAlarms.length / ordinary).toFixed(2)}`);
fs.rmSync(work, { recursive: true, force: true });
if (args.includes('--check')) {
    const bound = recommended.maxFalseAlarms;
    if (set.missed.length > 0 || set.falseAlarms.length > bound) {
        console.log(`FAILED: ${set.missed.length} mistakes missed, ` +
                    `${set.falseAlarms.length} false alarms (at most ${bound})`);
        process.exit(1);
    }
    console.log('1 passed, 0 failed');
}
