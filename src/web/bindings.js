// The module's calls as the page uses them: JSON text in, JSON text out (see web_api.h). The
// bound functions they call exist once the runtime has started, which createKoravin() awaits.
(function () {
    const encoder = new TextEncoder();
    const decoder = new TextDecoder();
    const call = (name) => (request) => {
        const bytes = encoder.encode(request);
        const address = Module['_malloc'](bytes.length + 1);
        try {
            Module['HEAPU8'].set(bytes, address);
            return decoder.decode(Module[name + 'Bytes'](address, bytes.length));
        } finally {
            Module['_free'](address);
        }
    };
    Module['commands'] = () => decoder.decode(Module['commandsBytes']());
    Module['examples'] = () => decoder.decode(Module['examplesBytes']());
    Module['run'] = call('run');
    Module['sample'] = call('sample');
    Module['picture'] = call('picture');
    Module['holdPicture'] = call('holdPicture');
    Module['releasePicture'] = call('releasePicture');
    Module['divisions'] = call('divisions');
    Module['decimalDigits'] = call('decimalDigits');
})();
