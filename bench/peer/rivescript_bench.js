// The rule engine a user might pick instead, on the same number of keywords: every keyword
// becomes four triggers (alone, at the start, at the end, inside a sentence). Prints the median
// reply time in microseconds for a sentence that matches the last keyword and for one that
// matches none. Usage: node rivescript_bench.js KEYWORDS RUNS (with rivescript installed).
const RiveScript = require("rivescript");

const keywords = Number(process.argv[2] || 10000);
const runs = Number(process.argv[3] || 20);

// Random two- and three-syllable Hangul words, the same every run.
let seed = 12345;
function random(n) {
    // In 32-bit integer arithmetic: a double loses the low bits of the product, and the
    // sequence then falls into a short cycle that never yields 10,000 distinct words.
    seed = (Math.imul(seed, 1103515245) + 12345) & 0x7fffffff;
    return seed % n;
}
function word() {
    let w = "";
    const length = 2 + random(2);
    for (let i = 0; i < length; ++i) w += String.fromCharCode(0xac00 + random(11172));
    return w;
}

const words = new Set();
while (words.size < keywords) words.add(word());
let source = "! version = 2.0\n";
let n = 0;
for (const w of words) {
    for (const trigger of [w, w + " *", "* " + w, "* " + w + " *"]) {
        source += "+ " + trigger + "\n- 대답 " + n + "\n";
    }
    ++n;
}
const last = [...words][words.size - 1];

async function median(bot, message) {
    const times = [];
    for (let i = 0; i < runs; ++i) {
        const start = process.hrtime.bigint();
        await bot.reply("user", message);
        times.push(Number(process.hrtime.bigint() - start) / 1000);
    }
    times.sort((a, b) => a - b);
    return times[Math.floor(times.length / 2)];
}

(async () => {
    const bot = new RiveScript({utf8: true});
    bot.stream(source);
    bot.sortReplies();
    const hit = await median(bot, "어제 " + last + " 먹었어");
    const miss = await median(bot, "그냥 그래");
    console.log(`${hit.toFixed(0)} ${miss.toFixed(0)}`);
})();
