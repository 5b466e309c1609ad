// Runs generated from a fixed seed across four families: expressions (functions and constants
// through every evaluator), nonlinear methods, linear systems (with NaN, Inf, zero pivots and
// singular matrices) and differential equations. The same seed gives the same runs everywhere.

export function random(seed) {
    let state = seed >>> 0;
    const next = () => {
        state = (state + 0x6d2b79f5) >>> 0;
        let t = state;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
    const r = {
        next,
        int: (lo, hi) => lo + Math.floor(next() * (hi - lo + 1)),
        pick: (list) => list[Math.floor(next() * list.length)],
        chance: (p) => next() < p,
        decimal: (lo, hi, places) => (lo + next() * (hi - lo)).toFixed(places),
    };
    return r;
}

const FUNCTIONS = ['sin', 'cos', 'tan', 'exp', 'log', 'sqr', 'abs', 'atn', 'log10'];

// A random expression in the variables given, of bounded depth.
function expression(r, variables, depth) {
    if (depth <= 0 || r.chance(0.3)) {
        if (r.chance(0.6)) return r.pick(variables);
        return r.chance(0.2) ? 'pi' : r.chance(0.5) ? String(r.int(1, 9)) : r.decimal(0, 5, r.int(1, 3));
    }
    const a = expression(r, variables, depth - 1);
    switch (r.int(0, 6)) {
        case 0: return `${r.pick(FUNCTIONS)}(${a})`;
        case 1: return `${a}+${expression(r, variables, depth - 1)}`;
        case 2: return `${a}-${expression(r, variables, depth - 1)}`;
        case 3: return `${a}*${expression(r, variables, depth - 1)}`;
        case 4: return `(${a})/(${expression(r, variables, depth - 1)})`;
        case 5: return `(${a})^${r.pick(['2', '3', '0.5', '(1/3)'])}`;
        default: return `-(${a})`;
    }
}

const NONLINEAR = [
    { f: 'x^3-2*x-5', df: '3*x^2-2', phi: '(2*x+5)^(1/3)', a: 2, b: 3 },
    { f: 'exp(-x)-sin(x)', df: '-exp(-x)-cos(x)', phi: 'x+exp(-x)-sin(x)', a: 0, b: 1 },
    { f: 'x^2-2', df: '2*x', phi: '2/x', a: 1, b: 2 },
    { f: 'cos(x)-x', df: '-sin(x)-1', phi: 'cos(x)', a: 0, b: 1 },
    { f: 'x*exp(x)-1', df: 'exp(x)+x*exp(x)', phi: 'exp(-x)', a: 0, b: 1 },
    { f: 'log(x)+x-2', df: '1/x+1', phi: '2-log(x)', a: 1, b: 2 },
    { f: 'x-exp(-x)', df: '1+exp(-x)', phi: 'exp(-x)', a: 0, b: 1 },
    { f: '(x-1)^2', df: '2*(x-1)', phi: 'x-(x-1)^2', a: 0, b: 3 },
    { f: 'atn(x)-0.5', df: '1/(1+x^2)', phi: 'x-atn(x)+0.5', a: 0, b: 2 },
    { f: 'tan(x)-x-1', df: '1/cos(x)^2-1', phi: 'atn(x+1)', a: 0.5, b: 1.5 },
    { f: 'x^3-x-1', df: '3*x^2-1', phi: '(x+1)^(1/3)', a: 1, b: 2 },
    { f: 'log10(x)-x+2', df: '1/(x*log(10))-1', phi: 'log10(x)+2', a: 1, b: 3 },
];

const TOLERANCES = ['0.001', '0.0001', '1E-6', '1E-8', '1E-10', '1E-12', '0.5', '1E-15'];

function nonlinearRun(r, f, entry) {
    const e = r.pick(TOLERANCES);
    const x0 = r.decimal(entry.a - 0.5, entry.b + 0.5, r.int(0, 3));
    switch (r.int(0, 5)) {
        case 0: return { command: 'CalculateDichotomy', editor: f, replies: [String(entry.a), String(entry.b), e] };
        case 1: return { command: 'CalculateIterative', editor: f, replies: [entry.phi, x0, e] };
        case 2: return { command: 'IterativeSpeedUp', editor: f, replies: [entry.phi, x0, r.decimal(-1, 1, 2), e] };
        case 3: return { command: 'CalculateAitken', editor: f, replies: [entry.phi, x0, e] };
        case 4: return { command: 'CalculateNewton', editor: f, replies: [entry.df, x0, e] };
        default: return { command: 'CalculateXianJie', editor: f, replies: [String(entry.a), String(entry.b), e, e] };
    }
}

function expressionRun(r) {
    if (r.chance(0.4)) {
        // A system whose entries are expressions, read by the matrix text reader.
        const n = r.int(1, 4);
        const rows = [];
        for (let i = 0; i < n; ++i) {
            const row = [];
            for (let j = 0; j <= n; ++j) row.push(r.chance(0.5) ? expression(r, ['1', '2', '3'], 2) : String(r.int(-9, 9)));
            rows.push(row.join(' '));
        }
        return { command: r.pick(['Gauss_1', 'GaussTier', 'LU_break']), editor: rows.join('\r\n'), replies: [String(n)],
                 digits: r.int(1, 16) };
    }
    if (r.chance(0.5)) {
        const f = expression(r, ['x'], 3);
        return { command: r.pick(['CalculateDichotomy', 'CalculateNewton', 'CalculateXianJie']), editor: f,
                 replies: [r.decimal(-3, 0, 1), r.decimal(0.5, 3, 1), r.pick(TOLERANCES), r.pick(TOLERANCES)] };
    }
    return {
        command: r.pick(['UsDi_Euler', 'UsDi_RungeKutta']),
        fields: { Text1: expression(r, ['x', 'y'], 3), Text2: '0', Text3: r.decimal(0.5, 2, 1), Text4: String(r.int(1, 40)) },
        replies: [r.decimal(-1, 2, 2)],
    };
}

function entryText(r) {
    const roll = r.next();
    if (roll < 0.03) return '1/0';
    if (roll < 0.05) return '0/0';
    if (roll < 0.10) return '0';
    if (roll < 0.30) return r.decimal(-20, 20, r.int(1, 4));
    return String(r.int(-9, 9));
}

function linearRun(r) {
    const n = r.int(1, 6);
    const command = r.pick(['Gauss_1', 'GaussTier', 'GaussFull', 'A_matrix', 'A_range', 'MatrixBreak', 'LU_break',
                            'SqrtRoot', 'MendSqrt', 'Purase', 'TierLU', 'JacobiDie', 'Gauss_SeidelDie', 'SorDie',
                            'CMatrixJudge', 'VectorModel', 'MatrixModel', 'StrictMatrixJudge']);
    const square = ['A_matrix', 'A_range', 'MatrixBreak', 'CMatrixJudge', 'MatrixModel', 'StrictMatrixJudge'].includes(command);
    const columns = command === 'VectorModel' ? 1 : square ? n : n + 1;
    const a = [];
    for (let i = 0; i < n; ++i) {
        const row = [];
        for (let j = 0; j < columns; ++j) row.push(entryText(r));
        // Strongly dominant now and then, so that the iterations and decompositions get through.
        if (r.chance(0.5) && i < columns) row[i] = String(r.int(20, 60));
        a.push(row);
    }
    if (n > 1 && r.chance(0.15)) a[n - 1] = [...a[0]];  // singular
    if (['SqrtRoot', 'MendSqrt', 'CMatrixJudge'].includes(command) && r.chance(0.7)) {
        for (let i = 0; i < n; ++i) for (let j = 0; j < i; ++j) a[i][j] = a[j][i];
    }
    const iterative = ['JacobiDie', 'Gauss_SeidelDie', 'SorDie'].includes(command);
    const replies = iterative ? [r.pick(['1E-05', '0.001', '1E-10', '0']), String(n)] : [String(n)];
    if (iterative) {
        for (let i = 0; i < n; ++i) replies.push(r.decimal(-1, 1, 1));
        if (command === 'SorDie') replies.push(r.decimal(0.2, 1.9, 2));
    }
    return { command, editor: a.map((row) => row.join(r.pick([' ', '  ', ', ', '\t']))).join('\r\n'), replies,
             yesNo: [r.chance(0.8), r.chance(0.8)], digits: r.chance(0.5) ? 6 : r.int(1, 16) };
}

const EQUATIONS = [
    { f: 'y-2*x/y', y0: '1', exact: 'sqr(1+2*x)' },
    { f: 'x+y', y0: '1', exact: '2*exp(x)-x-1' },
    { f: '-2*x*y', y0: '1', exact: 'exp(-x^2)' },
    { f: 'y', y0: '1', exact: 'exp(x)' },
    { f: 'cos(x)', y0: '0', exact: 'sin(x)' },
    { f: '-y+x+1', y0: '1', exact: 'x+exp(-x)' },
    { f: 'x^2-y', y0: '1', exact: 'x^2-2*x+2-exp(-x)' },
    { f: 'y^2', y0: '1', exact: '1/(1-x)' },
];

function odeRun(r) {
    const equation = r.pick(EQUATIONS);
    const command = r.pick(['UsDi_Euler', 'UsDi_RungeKutta', 'UsDi_Adams']);
    const n = r.pick([1, 2, 3, 4, 5, 10, 20, 64, 200]);
    const b = r.decimal(0.2, 1.5, 1);
    const replies = [equation.y0];
    if (command === 'UsDi_Adams') for (let i = 0; i < 3; ++i) replies.push(r.decimal(0.8, 1.5, r.int(2, 8)));
    const fields = { Text1: equation.f, Text2: '0', Text3: b, Text4: String(n) };
    if (r.chance(0.7)) fields.Exact = r.chance(0.9) ? equation.exact : expression(r, ['x'], 2);
    return { command, fields, replies };
}

// `count` runs of each family, each with the checks now and then.
export function generatedRuns(seed, count) {
    const r = random(seed);
    const runs = [];
    for (let i = 0; i < count; ++i) {
        const entry = r.pick(NONLINEAR);
        const families = [
            ['expressions', expressionRun(r)],
            ['nonlinear', nonlinearRun(r, r.chance(0.2) ? `f(x)=${entry.f}` : entry.f, entry)],
            ['linear', linearRun(r)],
            ['ode', odeRun(r)],
        ];
        for (const [family, run] of families) runs.push({ family, ...run, check: r.chance(0.5) });
    }
    return runs;
}
